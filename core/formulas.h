#pragma once
// How each quantity of a calculation is obtained: its symbol, name, unit and
// formula, and a run's formulas with the values substituted, as Russian
// calculation notes write them: "Dмин = 19 · d = 19 · 12 = 228 мм". The
// values are in the labels' number form (a point, the kinds' digits), so
// they compare with the window. So that a check by hand of the printed
// digits gives the printed result, a Single or Double operand whose text is
// not its exact value has that beside it, "8.3 (одинарная точность:
// 8.30000019073486328125)", and a rounding the calculation makes on the way
// is a step of its own wherever leaving it out would change the result:
// "n = ⌊L / d⌋ = ⌊… / 10⌋ = ⌊49.9999908447266 → 50.0000 (округлено до 4 знаков)⌋ = 50".

#include "core/catalogue.h"
#include "core/run_record.h"

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace kalventa {

// One quantity of a run.
struct QuantityLine {
    const QuantityEntry* entry = nullptr;
    std::string symbol;      // "P3" for the top one of three layers
    bool reached = false;    // the run gave it a value
    bool shown = false;      // reached, and written to its label if it has one
    std::string value;       // "228"; with the unit: valueWithUnit
    std::string inSymbols;   // "Dмин = 19 · d"
    std::string substituted; // "Dмин = 19 · d = 19 · 12 = 228 мм"; empty when not reached

    std::string valueWithUnit() const;
};

// The run's choices (duty class, layers, material, flange margin) and its
// results, each with its formula, in the order worked out.
std::vector<QuantityLine> choicesOf(const RunRecord& record);
std::vector<QuantityLine> resultsOf(const RunRecord& record);

// The rope check's verdict with the comparison behind it:
// "Fр = 50000 Н < Sмин = 55000 Н: канат не допустим"; that the rope was not
// checked when no breaking force was entered (the calculation compares with
// 1E+08 N then); a warning after it when no duty class was chosen or the load
// or the force is no positive number. Empty for another calculation or a run
// that did not reach it.
std::string verdictOf(const RunRecord& record);

// The same in a few words for a table: "канат не допустим",
// "канат не проверен: разрывное усилие не задано".
std::string verdictWords(const RunRecord& record);

// A quantity's name as the start of a line: "Вес груза".
std::string capitalised(std::string_view name);

// A value in the labels' form without the blank that stands for the sign.
std::string valueText(const Variant& value);

// What a result label's tooltip says: before any run of its calculation
// (`lastRun` null or another calculation's) the formula in symbols and what
// the quantity is; after a run, the formula with the values substituted, or
// that an error stopped the run before it; for the verdict, the comparison.
// Empty for a label that shows no result.
std::string resultTooltip(std::string_view label, const RunRecord* lastRun);

struct LabelText {
    std::string_view label;
    std::string text;
};

// The tooltips of every result label of the calculation, as the window and
// the page show them.
std::vector<LabelText> resultTooltips(CalculationId calculation, const RunRecord* lastRun);

} // namespace kalventa
