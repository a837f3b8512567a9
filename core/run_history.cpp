#include "core/run_history.h"

#include <algorithm>

namespace kalventa {

void RunHistory::add(RunRecord record)
{
    std::erase_if(entries_, [&](const Entry& entry) { return entry.record.calculation == record.calculation; });
    entries_.push_back({std::move(record), false});
}

void RunHistory::inputChanged(std::string_view control)
{
    for (Entry& entry : entries_)
        if (reads(entry.record.calculation->id, control))
            entry.stale = true;
}

const RunHistory::Entry* RunHistory::find(CalculationId calculation) const
{
    const auto it = std::find_if(entries_.begin(), entries_.end(),
                                 [&](const Entry& e) { return e.record.calculation->id == calculation; });
    return it == entries_.end() ? nullptr : &*it;
}

const RunRecord* RunHistory::lastRun(CalculationId calculation) const
{
    const Entry* entry = find(calculation);
    return entry ? &entry->record : nullptr;
}

bool RunHistory::stale(CalculationId calculation) const
{
    const Entry* entry = find(calculation);
    return entry && entry->stale;
}

std::vector<ReportRun> RunHistory::reportRuns() const
{
    std::vector<ReportRun> runs;
    for (const Entry& entry : entries_)
        runs.push_back({&entry.record, entry.stale});
    return runs;
}

} // namespace kalventa
