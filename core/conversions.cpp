#include "core/conversions.h"

#include "core/runtime_error.h"

#include <cmath>
#include <cstdint>
#include <limits>

namespace kalventa {
namespace {

[[noreturn]] void overflow() { throw RuntimeError(ErrorKind::Overflow); }

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

Double toDouble(Currency value) noexcept
{
    return static_cast<Double>(value.units) / static_cast<Double>(Currency::unitsPerOne);
}

Single toSingle(Currency value) noexcept
{
    return static_cast<Single>(toDouble(value));
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
    const Double r = toDouble(right);
    if (left < r)
        return -1;
    if (left == r)
        return 0;
    return 1;
}

} // namespace kalventa
