#include "core/variant.h"

#include "core/conversions.h"
#include "core/runtime_error.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace kalventa {

VariantKind Variant::kind() const noexcept
{
    static constexpr VariantKind byIndex[]
        = {VariantKind::Empty, VariantKind::Integer, VariantKind::Single, VariantKind::Double, VariantKind::Currency};
    return byIndex[value_.index()];
}

Integer Variant::integer() const noexcept
{
    const auto* held = std::get_if<Integer>(&value_);
    return held ? *held : Integer{0};
}

Single Variant::single() const noexcept
{
    const auto* held = std::get_if<Single>(&value_);
    return held ? *held : Single{0};
}

Double Variant::doubleValue() const noexcept
{
    const auto* held = std::get_if<Double>(&value_);
    return held ? *held : Double{0};
}

Currency Variant::currency() const noexcept
{
    const auto* held = std::get_if<Currency>(&value_);
    return held ? *held : Currency{};
}

Double Variant::toDouble() const noexcept
{
    switch (kind()) {
    case VariantKind::Empty: return 0;
    case VariantKind::Integer: return integer();
    case VariantKind::Single: return static_cast<Double>(single());
    case VariantKind::Double: return doubleValue();
    case VariantKind::Currency: return kalventa::toDouble(currency());
    }
    return 0;
}

namespace {

[[noreturn]] void overflow()
{
    throw RuntimeError(ErrorKind::Overflow);
}

bool isFloat(VariantKind kind)
{
    return kind == VariantKind::Single || kind == VariantKind::Double;
}

// The rank of Integer, Single and Double in "the more precise kind"; Empty
// ranks as Integer.
int precision(VariantKind kind)
{
    switch (kind) {
    case VariantKind::Single: return 1;
    case VariantKind::Double: return 2;
    default: return 0;
    }
}

Variant integerResult(int value)
{
    if (value < std::numeric_limits<Integer>::min() || value > std::numeric_limits<Integer>::max())
        overflow();
    return Variant(static_cast<Integer>(value));
}

Variant doubleResult(Double value)
{
    if (!std::isfinite(value))
        overflow();
    return Variant(value);
}

// A Single result is computed in double precision; one beyond the Single
// range is kept as a Double instead.
Variant singleResult(Double value)
{
    if (std::isfinite(value) && std::fabs(value) <= static_cast<Double>(std::numeric_limits<Single>::max()))
        return Variant(static_cast<Single>(value));
    return doubleResult(value);
}

bool isCurrency(const Variant& v)
{
    return v.kind() == VariantKind::Currency;
}

} // namespace

Variant product(const Variant& left, const Variant& right)
{
    const Double value = left.toDouble() * right.toDouble();
    if (isCurrency(left) || isCurrency(right))
        return doubleResult(value);
    switch (std::max(precision(left.kind()), precision(right.kind()))) {
    case 0: return integerResult(left.integer() * right.integer());
    case 1: return singleResult(value);
    default: return doubleResult(value);
    }
}

Variant sum(const Variant& left, const Variant& right)
{
    if (isCurrency(left) || isCurrency(right))
        return Variant(sum(toCurrency(left), toCurrency(right)));
    const Double value = left.toDouble() + right.toDouble();
    switch (std::max(precision(left.kind()), precision(right.kind()))) {
    case 0: return integerResult(left.integer() + right.integer());
    case 1: return singleResult(value);
    default: return doubleResult(value);
    }
}

Variant quotient(const Variant& left, const Variant& right)
{
    const Double divisor = right.toDouble();
    if (divisor == 0)
        throw RuntimeError(ErrorKind::DivisionByZero);
    const Double value = left.toDouble() / divisor;
    const bool bothNarrow
        = precision(left.kind()) <= 1 && precision(right.kind()) <= 1 && !isCurrency(left) && !isCurrency(right);
    return bothNarrow ? singleResult(value) : doubleResult(value);
}

namespace {

// -1, 0 or 1; NaN compares as unordered and answers neither less nor equal.
int threeWay(const Variant& left, const Variant& right, bool& ordered) noexcept
{
    ordered = true;
    if (isCurrency(left) || isCurrency(right)) {
        if (isFloat(left.kind()) || isFloat(right.kind())) {
            const Double l = left.toDouble();
            const Double r = right.toDouble();
            ordered = !std::isnan(l) && !std::isnan(r);
            return isCurrency(right) ? compare(l, right.currency()) : -compare(r, left.currency());
        }
        // Integer, Empty or Currency against Currency: exact in units.
        const auto l = isCurrency(left) ? left.currency() : toCurrency(left.integer());
        const auto r = isCurrency(right) ? right.currency() : toCurrency(right.integer());
        return (l.units > r.units) - (l.units < r.units);
    }
    const Double l = left.toDouble();
    const Double r = right.toDouble();
    ordered = !std::isnan(l) && !std::isnan(r);
    return (l > r) - (l < r);
}

} // namespace

bool lessThan(const Variant& left, const Variant& right) noexcept
{
    bool ordered = true;
    const int order = threeWay(left, right, ordered);
    return ordered && order < 0;
}

bool equal(const Variant& left, const Variant& right) noexcept
{
    bool ordered = true;
    const int order = threeWay(left, right, ordered);
    return ordered && order == 0;
}

Currency toCurrency(const Variant& value)
{
    switch (value.kind()) {
    case VariantKind::Empty: return Currency{};
    case VariantKind::Integer: return toCurrency(value.integer());
    case VariantKind::Currency: return value.currency();
    default: return toCurrency(value.toDouble());
    }
}

} // namespace kalventa
