#pragma once
// The tagged value of the calculations' mixed-kind arithmetic. The kind of a
// result follows its operands, so the duty factor's kind (Integer 5 or Double
// 5.5) decides whether the rope tension is a Single or a Double, and with it
// how many digits its label shows.

#include "core/kinds.h"

#include <cstdint>
#include <variant>

namespace kalventa {

// Tagged as in OLE Automation: VT_EMPTY, VT_I2, VT_R4, VT_R8, VT_CY.
enum class VariantKind : std::uint16_t {
    Empty = 0,
    Integer = 2,
    Single = 4,
    Double = 5,
    Currency = 6,
};

class Variant {
public:
    constexpr Variant() noexcept = default; // Empty
    constexpr explicit Variant(Integer value) noexcept
        : value_(value)
    {
    }
    constexpr explicit Variant(Single value) noexcept
        : value_(value)
    {
    }
    constexpr explicit Variant(Double value) noexcept
        : value_(value)
    {
    }
    constexpr explicit Variant(Currency value) noexcept
        : value_(value)
    {
    }

    VariantKind kind() const noexcept;

    // The held value; each requires the matching kind (Empty reads as Integer 0).
    Integer integer() const noexcept;
    Single single() const noexcept;
    Double doubleValue() const noexcept;
    Currency currency() const noexcept;

    // The value as a Double: exact for Empty, Integer, Single and Double;
    // Currency divided by 10000.
    Double toDouble() const noexcept;

private:
    std::variant<std::monostate, Integer, Single, Double, Currency> value_;
};

// Products, sums and quotients: Empty counts as the Integer 0. Product and
// sum take the more precise kind of Integer, Single and Double; a sum with a
// Currency is a Currency; a quotient is a Single when both operands are
// Integer or Single, otherwise a Double; products and quotients with a
// Currency are Doubles. A Single result beyond the Single range becomes a
// Double; a Double, Currency or Integer result beyond its range raises the
// overflow error, and a quotient by zero the division-by-zero error.
Variant product(const Variant& left, const Variant& right);
Variant sum(const Variant& left, const Variant& right);
Variant quotient(const Variant& left, const Variant& right);

// Compared as numbers, Empty as 0.
bool lessThan(const Variant& left, const Variant& right) noexcept;
bool equal(const Variant& left, const Variant& right) noexcept;

// Conversion to Currency (the overflow error beyond its range).
Currency toCurrency(const Variant& value);

// The counted loop: the counter starts at `start`; `end` and `by` are taken
// once; the body runs while the counter is not beyond the end (not above it
// for a step of zero or more, not below it for a negative step), and the step
// is added after each pass with the Variant sum.
template <class Body>
void countedLoop(const Variant& start, const Variant end, const Variant by, Body&& body)
{
    const bool upwards = !lessThan(by, Variant{});
    for (Variant counter = start; upwards ? !lessThan(end, counter) : !lessThan(counter, end);
         counter = sum(counter, by))
        body(counter);
}

} // namespace kalventa
