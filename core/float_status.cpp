#include "core/float_status.h"

#include <cmath>

namespace kalventa {

void FloatStatus::raise(std::uint8_t flags, Quantity origin) noexcept
{
    if (flags == 0)
        return;
    if (flags_ == 0)
        origin_ = origin;
    flags_ = static_cast<std::uint8_t>(flags_ | flags);
}

void FloatStatus::clear() noexcept
{
    flags_ = 0;
    origin_ = Quantity::Unknown;
}

void FloatStatus::check() const
{
    if (flags_ & (Invalid | ZeroDivide | Overflow))
        throw RuntimeError(ErrorKind::FloatingPoint, origin_);
}

namespace {

// The flags IEEE 754 raises for an operation that gave `result` from operands
// that were all finite or all non-NaN: an invalid operation turns non-NaN
// operands into NaN (0 × ∞, ∞ − ∞, 0 ÷ 0, ∞ ÷ ∞); an overflow turns finite
// operands into an infinity.
std::uint8_t flagsOf(Double result, bool operandsFinite, bool operandsNumbers)
{
    if (std::isnan(result) && operandsNumbers)
        return FloatStatus::Invalid;
    if (std::isinf(result) && operandsFinite)
        return FloatStatus::Overflow;
    return 0;
}

bool bothFinite(Double a, Double b)
{
    return std::isfinite(a) && std::isfinite(b);
}
bool bothNumbers(Double a, Double b)
{
    return !std::isnan(a) && !std::isnan(b);
}

} // namespace

Double FloatArithmetic::product(Double left, Double right) noexcept
{
    const Double result = left * right;
    status_.raise(flagsOf(result, bothFinite(left, right), bothNumbers(left, right)), quantity_);
    return result;
}

Double FloatArithmetic::quotient(Double left, Double right) noexcept
{
    const Double result = left / right;
    if (right == 0 && std::isfinite(left) && left != 0)
        status_.raise(FloatStatus::ZeroDivide, quantity_);
    else
        status_.raise(flagsOf(result, bothFinite(left, right), bothNumbers(left, right)), quantity_);
    return result;
}

Double FloatArithmetic::sum(Double left, Double right) noexcept
{
    const Double result = left + right;
    status_.raise(flagsOf(result, bothFinite(left, right), bothNumbers(left, right)), quantity_);
    return result;
}

Single FloatArithmetic::narrow(Double value) noexcept
{
    const auto result = static_cast<Single>(value);
    if (std::isinf(result) && std::isfinite(value))
        status_.raise(FloatStatus::Overflow, quantity_);
    return result;
}

void FloatArithmetic::overflowed() noexcept
{
    status_.raise(FloatStatus::Overflow, quantity_);
}

} // namespace kalventa
