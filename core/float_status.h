#pragma once
// Float arithmetic written in the calculations, and the floating-point status
// it leaves behind. The operations are evaluated in double precision; the
// status records an invalid operation, a division by zero or an overflow (the
// conditions the old runtime's check looked at; underflow and inexact results
// are no errors). The status is a value of its own, not the processor's flags,
// so that what a check sees does not depend on the compiler's scheduling.

#include "core/kinds.h"
#include "core/runtime_error.h"

#include <cstdint>

namespace kalventa {

class FloatStatus {
public:
    enum Flag : std::uint8_t {
        Invalid = 1,
        ZeroDivide = 4,
        Overflow = 8,
    };

    // Records flags; the first quantity that raised one is the one a failing
    // check names.
    void raise(std::uint8_t flags, Quantity origin) noexcept;
    // Every read or write of a control clears the status, so a check sees only
    // what happened since the last control access.
    void clear() noexcept;
    // The floating-point check: throws the floating-point error when anything
    // was recorded since the last clear.
    void check() const;

    std::uint8_t flags() const noexcept { return flags_; }

private:
    std::uint8_t flags_ = 0;
    Quantity origin_ = Quantity::Unknown;
};

// The arithmetic of the calculations' own formulas: operands widened to
// Double, one rounding to Double, flags raised as IEEE 754 defines them.
class FloatArithmetic {
public:
    explicit FloatArithmetic(FloatStatus& status)
        : status_(status)
    {
    }

    void workingOn(Quantity quantity) noexcept { quantity_ = quantity; }
    Quantity workingOn() const noexcept { return quantity_; }

    Double product(Double left, Double right) noexcept;
    Double quotient(Double left, Double right) noexcept;
    Double sum(Double left, Double right) noexcept;
    // Stores a Double into a Single: nearest, ties to even; overflow when a
    // finite value lands beyond the Single range.
    Single narrow(Double value) noexcept;

    // Records an overflow of a value that came from outside the arithmetic
    // (a number text beyond the Double range).
    void overflowed() noexcept;

private:
    FloatStatus& status_;
    Quantity quantity_ = Quantity::Unknown;
};

} // namespace kalventa
