#pragma once
// Order statistics of a benchmark's samples, and numbers as text with a full
// stop whatever the locale (std::to_chars ignores it).

#include <string>
#include <vector>

namespace kalventa::bench {

// The value at fraction q (0 to 1) of the sorted samples, interpolating
// between neighbours; q = 0.5 is the median. The samples must not be empty.
double quantile(std::vector<double> samples, double q);

// `value` with `decimals` digits after the point.
std::string fixed(double value, int decimals);

} // namespace kalventa::bench
