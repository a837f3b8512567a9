#pragma once
// The three calculations as the window offers them: the button that runs
// each, its name for a person, and what it works out. What each reads and
// works out is in the catalogue of quantities.

#include "core/catalogue.h"
#include "core/controls.h"

#include <span>
#include <string_view>

namespace kalventa {

struct CalculationEntry {
    CalculationId id;
    std::string_view button; // "Command1"
    void (*run)(Controls& window);
    std::string_view title;   // "Расчёт каната"
    std::string_view purpose; // what it works out, lower case
    std::string_view fileKey; // "rope_check": the name a file keeps it under
};

std::span<const CalculationEntry> calculations();

const CalculationEntry& calculation(CalculationId id);
// The calculation the button runs; nullptr for any other control.
const CalculationEntry* calculationOf(std::string_view button);

} // namespace kalventa
