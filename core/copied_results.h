#pragma once
// The last runs' inputs and results as a word processor or a spreadsheet
// takes them from the clipboard: one row a quantity (its name, its value in
// the labels' form, its unit), under a heading row for each calculation.

#include "core/report.h"

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace kalventa {

struct CopiedRow {
    std::string quantity; // or the calculation's heading
    std::string value;    // empty on a heading row
    std::string unit;
};

// The command that puts them on the clipboard, as the desktop's context menu
// and the page's command bar name it.
inline constexpr std::string_view copyResultsCommand = "Копировать результаты";

std::vector<CopiedRow> copiedResults(std::span<const ReportRun> runs);

// "Величина\tЗначение\tЕд. изм." and one line a row, tab-separated.
std::string asTabSeparated(const std::vector<CopiedRow>& rows);
// The same as an HTML table, every text escaped.
std::string asHtmlTable(const std::vector<CopiedRow>& rows);

} // namespace kalventa
