#pragma once
// How each quantity of a calculation is obtained: its symbol, name, unit and
// formula, and a run's formulas with the values substituted, as Russian
// calculation notes write them: "Dмин = 19 · d = 19 · 12 = 228 мм". The
// values are in the labels' number form (a point, the kinds' digits), so
// they compare with the window.

#include "core/run_record.h"

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace kalventa {

struct QuantityRow {
    std::string_view button; // the calculation
    Quantity quantity;
    std::string_view symbol;       // "Dмин"; "{N}" stands for the number of layers
    std::string_view name;         // "минимальный диаметр барабана"
    std::string_view unit;         // "мм"; empty for counts and factors
    std::string_view formula;      // "19 · d"; empty for inputs and choices
    std::string_view substitution; // "19 · {d}": each {symbol} takes its value
    std::string_view label;        // the result label that shows it, if one does
    std::string_view ifEmpty = {}; // what a choice left empty means
};

// Every quantity of every calculation: for each, its inputs, then its choices,
// then its results in the order worked out.
std::span<const QuantityRow> quantityRows();

// One quantity of a run.
struct QuantityLine {
    const QuantityRow* row = nullptr;
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
// "Fр = 50000 Н < Sмин = 55000 Н: канат не допустим"; empty for another
// calculation or a run that did not reach it.
std::string verdictOf(const RunRecord& record);

// A quantity's name as the start of a line: "Вес груза".
std::string capitalised(std::string_view name);

// A value in the labels' form without the blank that stands for the sign.
std::string valueText(const Variant& value);

// What a result label's tooltip says: before any run of its calculation
// (`lastRun` null) the formula in symbols and what the quantity is; after a
// run, the formula with the values substituted, or that an error stopped the
// run before it. Empty for a label that shows no result.
std::string resultTooltip(std::string_view label, const RunRecord* lastRun);

} // namespace kalventa
