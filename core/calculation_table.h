#pragma once
// The three calculations as the window offers them: the button that runs
// each, its name for a person, and what it works out.

#include "core/controls.h"

#include <span>
#include <string_view>

namespace kalventa {

struct CalculationEntry {
    std::string_view button; // "Command1"
    void (*run)(Controls& window);
    std::string_view title;   // "Расчёт каната"
    std::string_view purpose; // what it works out, lower case
    std::span<const std::string_view> inputs; // every control it reads
};

std::span<const CalculationEntry> calculations();

// The calculation the button runs; nullptr for any other control.
const CalculationEntry* calculationOf(std::string_view button);

} // namespace kalventa
