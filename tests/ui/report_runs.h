#pragma once
// Runs of the three calculations for the report's tests and its sample page:
// each calculation run on an in-memory window with what a user entered.

#include "core/calculation_table.h"
#include "core/report.h"
#include "core/run_record.h"
#include "memory_controls.h"
#include "window/layout_table.h"

#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace kalventa::ui::testing {

using Entries = std::map<std::string, std::string>;

// The rope check: load 1000 kg, breaking force 50000 N, medium duty.
inline const Entries ropeCheckEntries{{"Text1", "1000"}, {"Text3", "50000"}, {"Option2", "on"}};
// The drum size limits for a 12 mm rope.
inline const Entries drumLimitsEntries{{"Text2", "12"}};
// The rope capacity of a 400 by 800 mm drum, 15 mm rope, 5000 kg, three
// layers, steel, Y of one and a half rope diameters.
inline const Entries capacityEntries{{"Text4", "400"}, {"Text5", "800"}, {"Text6", "15"},  {"Text7", "5000"},
                                     {"Combo1", "2"},  {"Combo2", "0"},  {"Option5", "on"}};

inline RunRecord runOn(std::string_view button, const Entries& entries)
{
    auto window = kalventa::testing::MemoryControls::with(entries);
    return recordRun(*calculationOf(button), window);
}

// The report of `records` in that order, each stale or not.
inline Report reportOf(const std::vector<RunRecord>& records, const std::vector<bool>& stale = {})
{
    std::vector<ReportRun> runs;
    for (std::size_t i = 0; i < records.size(); ++i)
        runs.push_back({&records[i], i < stale.size() && stale[i]});
    // Choices named as the window shows them.
    return makeReport(runs, "Кальвента 1.3.0", "14.03.2025 09:30",
                      [](std::string_view control, int item) { return std::string(choiceText(control, item)); });
}

// All three calculations, run in the window's order.
inline std::vector<RunRecord> allThreeRuns()
{
    std::vector<RunRecord> records;
    records.push_back(runOn("Command1", ropeCheckEntries));
    records.push_back(runOn("Command2", drumLimitsEntries));
    records.push_back(runOn("Command3", capacityEntries));
    return records;
}

} // namespace kalventa::ui::testing
