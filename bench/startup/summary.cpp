#include "summary.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <stdexcept>

namespace kalventa::bench {

double quantile(std::vector<double> samples, double q)
{
    if (samples.empty())
        throw std::invalid_argument("quantile of no samples");
    std::ranges::sort(samples);
    const double position = q * static_cast<double>(samples.size() - 1);
    const auto below = static_cast<std::size_t>(std::floor(position));
    const std::size_t above = std::min(below + 1, samples.size() - 1);
    const double weight = position - static_cast<double>(below);
    return samples[below] + weight * (samples[above] - samples[below]);
}

std::string fixed(double value, int decimals)
{
    std::array<char, 64> buffer{};
    const auto result
        = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value, std::chars_format::fixed, decimals);
    return {buffer.data(), result.ptr};
}

} // namespace kalventa::bench
