#pragma once
// Every quantity of the three calculations, named once: the calculation it
// belongs to, the control it is typed or chosen in, the label that shows it,
// its symbol, Russian name and unit, its formula, what a screen reader says
// for it, its role, and the stable name a file keeps it under. The formulas,
// the report, the copied results, the screen reader and the files look a
// quantity up here rather than naming it again.

#include "core/runtime_error.h"
#include "core/variant.h"

#include <array>
#include <span>
#include <string_view>

namespace kalventa {

// A calculation, by what it works out rather than by the button that runs it.
enum class CalculationId { RopeCheck, DrumSizeLimits, RopeCapacity };

enum class Role {
    Input,   // read from a text field
    Choice,  // taken from option buttons or a list
    Result,  // worked out by a formula
    Working, // worked out on the way, with no formula of its own to show
    Verdict, // a label that shows a word or nothing
};

struct QuantityEntry {
    CalculationId calculation;
    Quantity quantity;
    Role role;
    std::string_view fileKey;                   // "rope_diameter_mm": the name a file keeps it under, never to change
    std::string_view symbol;                    // "Dмин"; "{N}" stands for the number of layers
    std::string_view name;                      // "минимальный диаметр барабана"
    std::string_view unit;                      // "мм"; empty for counts and factors
    std::string_view formula;                   // "19 · d"; empty for inputs and choices
    std::string_view substitution;              // "19 · {d}": each {symbol} takes its value
    std::array<std::string_view, 4> controls{}; // the field, list or option buttons it is read from
    std::string_view label = {};                // the result label that shows it
    // What an empty choice means; for a verdict, what its empty label means.
    std::string_view ifEmpty = {};
    std::string_view ifShown = {};      // a verdict's words when its label shows a word
    std::string_view spokenInput = {};  // a screen reader's name for its field or list
    std::string_view spokenResult = {}; // a screen reader's name for its label
    std::string_view summaryWord = {};  // how a run's summary names it: "натяжение"
    // Why the calculation may work with another value than its field reads.
    std::string_view replacement = {};

    // Whether `control` is one it is read from.
    constexpr bool readFrom(std::string_view control) const
    {
        for (const std::string_view own : controls)
            if (!own.empty() && own == control)
                return true;
        return false;
    }
};

std::span<const QuantityEntry> catalogue();

// A number a formula holds as it stands, with what it is.
struct ConstantEntry {
    CalculationId calculation;
    std::string_view text;    // "0.9", as the formula writes it
    std::string_view meaning; // "коэффициент неравномерности укладки каната"
};

std::span<const ConstantEntry> constants();

// What a choice gives its calculation: a duty class its safety factor, a drum
// material its allowable stress. The calculations take them from here.
struct ChoiceValue {
    CalculationId calculation;
    Quantity quantity;
    std::string_view control; // the option button, or the list
    int item;                 // the list's index; -1 for an option button
    std::string_view name;    // "средний", "сварная сталь"
    Variant value;            // in the kind the calculation takes it: Integer 5, Double 5.5
};

// In the order the window offers them.
std::span<const ChoiceValue> choiceValues();

// The quantity as the calculation takes or works it out; null when it has none.
const QuantityEntry* entryOf(CalculationId calculation, Quantity quantity);
// The quantity a result label shows; null for any other control.
const QuantityEntry* entryShownIn(std::string_view label);
// The calculation's quantity of that role that comes first; null when none.
const QuantityEntry* entryWithRole(CalculationId calculation, Role role);
// Whether the calculation reads the control.
bool reads(CalculationId calculation, std::string_view control);

} // namespace kalventa
