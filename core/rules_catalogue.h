#pragma once
// The quantities of the check against today's rules, named once: their
// symbol, Russian name, unit, what a screen reader calls the control they are
// entered in, and the stable name a file keeps them under. Those the check
// takes from the window (the load, the breaking force, the drum and rope
// diameters) are the window's own quantities and keep the names of the
// window's catalogue.

#include "core/catalogue.h"

#include <string_view>

namespace kalventa::rules {

enum class RulesQuantity {
    // Entered in the check itself.
    Group,
    RopeKind,
    ReevingRatio,
    WoundBranches,
    Efficiency,
    PulleyBearings,
    HookMass,
    // Taken from the window.
    LoadWeight,
    BreakingForce,
    DrumDiameter,
    RopeDiameter,
    MinDrumDiameter,
    LimitsRopeDiameter,
    // Worked out.
    PulleyEfficiency,
    RopeForce,
    SafetyFactor,
    RequiredBreakingForce,
    DiameterRatio,
    RequiredDrumDiameter,
};

struct RulesQuantityEntry {
    RulesQuantity quantity;
    std::string_view fileKey; // never to change
    std::string_view symbol;
    std::string_view name;        // lower case
    std::string_view unit;        // empty for counts and factors
    std::string_view spoken = {}; // a screen reader's name for its control
    // The window's quantity it is, for those taken from the window.
    const QuantityEntry* window = nullptr;
};

// The entry of a quantity; those of the window with the window's names.
RulesQuantityEntry entryOf(RulesQuantity quantity);

} // namespace kalventa::rules
