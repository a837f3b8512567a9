#pragma once
// What one run of a calculation read and wrote, for the window's notices
// and its screen-reader summary: the text fields it read, with the notice
// for each one that was not read whole, every caption in the order written,
// and the run-time error that stopped it, if one did.

#include "core/calculation_table.h"
#include "core/controls.h"
#include "core/runtime_error.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kalventa {

struct FieldRead {
    std::string field;
    std::string notice; // empty when the text was read whole
};

struct CaptionWritten {
    std::string label;
    std::string caption;
};

struct RunRecord {
    const CalculationEntry* calculation = nullptr;
    std::vector<FieldRead> fieldsRead;
    std::vector<CaptionWritten> captions;
    std::optional<RuntimeError> error;

    // The caption the run left in the label; null when it wrote none there.
    const std::string* finalCaption(std::string_view label) const;
};

// Runs the calculation on the window and records it. A run-time error ends
// the run as ever (labels written keep their texts) and is kept in the record
// instead of thrown.
RunRecord recordRun(const CalculationEntry& calculation, Controls& window);

// One short sentence for a screen reader: the calculation and its results,
// "Расчёт каната: натяжение 55000 Н; канат не допустим", or where a run-time
// error stopped it and what it had written by then.
std::string runSummary(const RunRecord& record);

} // namespace kalventa
