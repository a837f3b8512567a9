#include "core/run_history.h"

#include "core/formulas.h"

#include <algorithm>
#include <utility>

namespace kalventa {

void RunHistory::add(RunRecord record)
{
    std::erase_if(entries_, [&](const Entry& entry) { return entry.record.calculation == record.calculation; });
    entries_.push_back({std::move(record), {}, {}});
}

void RunHistory::inputChanged(std::string_view control, std::size_t state)
{
    for (Entry& entry : entries_) {
        const auto& read = entry.record.controlsRead;
        const auto it
            = std::find_if(read.begin(), read.end(), [&](const ControlRead& c) { return c.control == control; });
        if (it == read.end())
            continue;
        std::erase(entry.changed, control);
        if (it->state != state)
            entry.changed.emplace_back(control);
    }
}

const RunHistory::Entry* RunHistory::find(CalculationId calculation) const
{
    const auto it = std::find_if(entries_.begin(), entries_.end(),
                                 [&](const Entry& e) { return e.record.calculation->id == calculation; });
    return it == entries_.end() ? nullptr : &*it;
}

RunHistory::Entry* RunHistory::find(CalculationId calculation)
{
    return const_cast<Entry*>(std::as_const(*this).find(calculation));
}

void RunHistory::noteOnRun(CalculationId calculation, std::string note)
{
    if (Entry* entry = find(calculation))
        entry->note = std::move(note);
}

const RunRecord* RunHistory::lastRun(CalculationId calculation) const
{
    const Entry* entry = find(calculation);
    return entry ? &entry->record : nullptr;
}

bool RunHistory::stale(CalculationId calculation) const
{
    const Entry* entry = find(calculation);
    return entry && !entry->changed.empty();
}

std::vector<std::string> RunHistory::changedInputs(CalculationId calculation) const
{
    std::vector<std::string> names;
    const Entry* entry = find(calculation);
    if (!entry)
        return names;
    // In the order of the catalogue; the options of one choice named once.
    for (const QuantityEntry& quantity : catalogue())
        if (quantity.calculation == calculation
            && std::any_of(entry->changed.begin(), entry->changed.end(),
                           [&](const std::string& control) { return quantity.readFrom(control); }))
            names.emplace_back(quantity.name);
    return names;
}

std::vector<ReportRun> RunHistory::reportRuns() const
{
    std::vector<ReportRun> runs;
    for (const Entry& entry : entries_)
        runs.push_back(
            {&entry.record, !entry.changed.empty(), changedInputs(entry.record.calculation->id), entry.note});
    return runs;
}

} // namespace kalventa
