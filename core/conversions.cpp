#include "core/conversions.h"

#include "core/decimal_conversion.h"
#include "core/runtime_error.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string_view>
#include <type_traits>

namespace kalventa {
namespace {

[[noreturn]] void overflow()
{
    throw RuntimeError(ErrorKind::Overflow);
}

constexpr Double two63 = 9223372036854775808.0; // 2^63, exact in a Double

} // namespace

Currency toCurrency(Double value)
{
    const Double units = std::nearbyint(value * static_cast<Double>(Currency::unitsPerOne));
    // The range test also turns infinities and NaN away.
    if (!(units >= -two63 && units < two63))
        overflow();
    return Currency{static_cast<std::int64_t>(units)};
}

Currency toCurrency(Integer value) noexcept
{
    return Currency{value * Currency::unitsPerOne};
}

Integer toInteger(Currency value)
{
    std::int64_t whole = value.units / Currency::unitsPerOne;
    const std::int64_t rest = value.units % Currency::unitsPerOne; // same sign as the value
    constexpr std::int64_t half = Currency::unitsPerOne / 2;
    const bool odd = (whole % 2) != 0;
    if (rest > half || (rest == half && odd))
        ++whole;
    else if (rest < -half || (rest == -half && odd))
        --whole;
    if (whole < std::numeric_limits<Integer>::min() || whole > std::numeric_limits<Integer>::max())
        overflow();
    return static_cast<Integer>(whole);
}

namespace {

// Up to 2^53 units both the units and 10000 are exact Doubles, so one
// division rounds the exact quotient once; narrowing that to a Single cannot
// round differently from rounding the quotient straight to a Single, since no
// quotient of a whole number by 10000 below 10^12 lies within half a Double
// step of a Single half-way point without being on it.
bool dividesExactly(Currency value)
{
    constexpr std::int64_t limit = std::int64_t{1} << 53;
    return value.units >= -limit && value.units <= limit;
}

// Larger values go through their decimal text, which the core's decimal
// reading rounds once to the target kind.
template <class Float>
Float fromDecimal(Currency value)
{
    std::array<char, 32> text{};
    char* out = text.data();
    const std::uint64_t magnitude
        = value.units < 0 ? 0 - static_cast<std::uint64_t>(value.units) : static_cast<std::uint64_t>(value.units);
    if (value.units < 0)
        *out++ = '-';
    out = std::to_chars(out, text.data() + text.size(), magnitude).ptr;
    *out++ = 'e';
    *out++ = '-';
    *out++ = '4';
    const std::string_view decimal(text.data(), static_cast<std::size_t>(out - text.data()));
    if constexpr (std::is_same_v<Float, Single>)
        return decimalToSingle(decimal);
    else
        return decimalToDouble(decimal);
}

} // namespace

Double toDouble(Currency value) noexcept
{
    if (dividesExactly(value))
        return static_cast<Double>(value.units) / static_cast<Double>(Currency::unitsPerOne);
    return fromDecimal<Double>(value);
}

Single toSingle(Currency value) noexcept
{
    if (dividesExactly(value))
        return static_cast<Single>(toDouble(value));
    return fromDecimal<Single>(value);
}

Currency sum(Currency left, Currency right)
{
    constexpr auto lowest = std::numeric_limits<std::int64_t>::min();
    constexpr auto highest = std::numeric_limits<std::int64_t>::max();
    if ((right.units > 0 && left.units > highest - right.units)
        || (right.units < 0 && left.units < lowest - right.units))
        overflow();
    return Currency{left.units + right.units};
}

Currency difference(Currency left, Currency right)
{
    constexpr auto lowest = std::numeric_limits<std::int64_t>::min();
    constexpr auto highest = std::numeric_limits<std::int64_t>::max();
    if ((right.units < 0 && left.units > highest + right.units)
        || (right.units > 0 && left.units < lowest + right.units))
        overflow();
    return Currency{left.units - right.units};
}

Integer step(Integer value, int by)
{
    const int result = value + by;
    if (result < std::numeric_limits<Integer>::min() || result > std::numeric_limits<Integer>::max())
        overflow();
    return static_cast<Integer>(result);
}

int compare(Double left, Currency right) noexcept
{
    if (std::isnan(left))
        return 1;
    // Beyond every Currency value; inside this bound the whole part of a
    // Double fits the units' integer type.
    constexpr Double bound = 922337203685478.0;
    if (left >= bound)
        return 1;
    if (left <= -bound)
        return -1;
    // Whole parts first (both truncated towards zero), then the fractions:
    // the sign of left's fraction × 10000 − right's fractional units, which
    // std::fma gives with a single rounding, so its sign is exact.
    const Double whole = std::trunc(left);
    const auto leftWhole = static_cast<std::int64_t>(whole);
    const std::int64_t rightWhole = right.units / Currency::unitsPerOne;
    if (leftWhole != rightWhole)
        return leftWhole < rightWhole ? -1 : 1;
    const auto rightFraction = static_cast<Double>(right.units % Currency::unitsPerOne);
    const Double residual = std::fma(left - whole, static_cast<Double>(Currency::unitsPerOne), -rightFraction);
    return (residual > 0) - (residual < 0);
}

} // namespace kalventa
