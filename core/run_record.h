#pragma once
// What one run of a calculation read, worked out and wrote: the text fields
// it read, as typed and as read, with the notice for each one that was not
// read whole; every quantity with its kind and value, and the values of each
// rope layer; every caption in the order written; and the run-time error that
// stopped it, if one did. The window's notices, its screen-reader summary, the
// formulas on its results and the calculation report are made from it.

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
    Quantity quantity = Quantity::Unknown;
    std::string typed;  // as typed; a long text cut, with "…"
    Variant value;      // as read: the Single the calculation took
    std::string notice; // empty when the text was read whole
};

// A control as a run read it: its text's fingerprint, or its value, so that
// a later change can be told from a change back.
struct ControlRead {
    std::string control;
    std::size_t state;
    std::optional<Integer> value = {}; // an option button's Value or a list's index; none for a field
};

// The state a text field or an option button or list is in, as a run
// records it and as the window reports a change.
std::size_t controlState(std::string_view text);
std::size_t controlState(Integer value);

struct NotedValue {
    Quantity quantity;
    Variant value;
};

// One pass of the rope capacity's layer loop; a value the pass did not reach
// is Empty.
struct LayerValues {
    Variant pitchDiameter;
    Variant flangeDiameter;
    Variant layerLength;
    Variant totalRopeLength; // after this layer
};

struct CaptionWritten {
    std::string label;
    std::string caption;
};

struct RunRecord {
    const CalculationEntry* calculation = nullptr;
    std::vector<FieldRead> fieldsRead;
    std::vector<NotedValue> values; // in the order worked out, layers included
    std::vector<LayerValues> layers;
    std::vector<CaptionWritten> captions;
    std::vector<ControlRead> controlsRead; // each control once, as first read
    std::optional<RuntimeError> error;
    std::string ranAt; // when, as the window gives it: "08.12.2026 14:03"

    // The caption the run left in the label; null when it wrote none there.
    const std::string* finalCaption(std::string_view label) const;
    // The last value the run gave the quantity; null when it gave none.
    const Variant* finalValue(Quantity quantity) const;
};

// Runs the calculation on the window and records it. A run-time error ends
// the run as ever (labels written keep their texts) and is kept in the record
// instead of thrown.
RunRecord recordRun(const CalculationEntry& calculation, Controls& window);

// The result labels of its calculation that a run stopped by an error did
// not write: they would show an earlier run's numbers beside this run's, so
// the window empties them. None after a run that ended well.
std::vector<std::string_view> labelsLeftBehind(const RunRecord& record);

// One short sentence for a screen reader: the calculation and its results,
// "Расчёт каната: натяжение 55000 Н; канат не допустим", or where a run-time
// error stopped it and what it had written by then.
std::string runSummary(const RunRecord& record);

} // namespace kalventa
