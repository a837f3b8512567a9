#pragma once
// The runs since the program started, for the report and the formulas on the
// results: the last run of each calculation, in the order run, and whether
// an input it read was changed after it.

#include "core/report.h"
#include "core/run_record.h"

#include <string_view>
#include <vector>

namespace kalventa {

class RunHistory {
public:
    // The run replaces the earlier one of its calculation and counts as the latest.
    void add(RunRecord record);
    // An input control is now in `state` (controlState): the runs that read
    // it otherwise are stale, and a run whose inputs are all back as it read
    // them is not.
    void inputChanged(std::string_view control, std::size_t state);
    // A note for the report under the last run of the calculation, until
    // it is run again: how its results differ from those a file kept.
    void noteOnRun(CalculationId calculation, std::string note);

    // The last run of the calculation; null before one.
    const RunRecord* lastRun(CalculationId calculation) const;
    bool stale(CalculationId calculation) const;
    // The inputs changed since the run, in words: "вес груза".
    std::vector<std::string> changedInputs(CalculationId calculation) const;
    // The runs for the report, oldest first.
    std::vector<ReportRun> reportRuns() const;

private:
    struct Entry {
        RunRecord record;
        std::vector<std::string> changed; // the controls no longer as the run read them
        std::string note;
    };
    const Entry* find(CalculationId calculation) const;
    Entry* find(CalculationId calculation);

    std::vector<Entry> entries_;
};

} // namespace kalventa
