#pragma once
// The three run-time errors a calculation can raise. An error ends the
// calculation where it happens; labels written before it keep their new texts.

#include <stdexcept>

namespace kalventa {

enum class ErrorKind {
    Overflow,       // a result beyond the range of its kind
    DivisionByZero, // a quotient by zero
    FloatingPoint,  // the floating-point check found an invalid operation, a division by zero or an overflow
};

// What a calculation was working on when the error arose, so that the message
// can name the quantity that went out of range; also what a run's record
// names each value by.
enum class Quantity {
    Unknown,
    LoadWeight,
    BreakingForce,
    RopeTension,
    RopeDiameter,
    MinDrumDiameter,
    MaxDrumLength,
    DrumDiameter,
    DrumLength,
    TurnsPerLayer,
    LeftoverLength,
    PitchDiameter,
    FlangeDiameter,
    LayerLength,
    TotalRopeLength,
    RopeCapacity,
    WallThickness,
    // Taken from the window's choices, or worked out on the way; no error
    // names these, a run's record does.
    DutyFactor,
    ComparedBreakingForce,
    LayerCount,
    AllowableStress,
    FlangeFactor,
    RopeVerdict, // what the rope check concludes
};

class RuntimeError : public std::runtime_error {
public:
    explicit RuntimeError(ErrorKind kind, Quantity quantity = Quantity::Unknown);

    ErrorKind kind() const noexcept { return kind_; }
    Quantity quantity() const noexcept { return quantity_; }

    // The same error, naming the quantity when it did not name one yet.
    RuntimeError about(Quantity quantity) const;

private:
    ErrorKind kind_;
    Quantity quantity_;
};

} // namespace kalventa
