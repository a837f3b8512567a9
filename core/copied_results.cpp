#include "core/copied_results.h"

#include "core/calculation_table.h"
#include "core/error_text.h"
#include "core/formulas.h"
#include "core/meanings.h"

#include <array>

namespace kalventa {
namespace {

constexpr std::array<std::string_view, 3> columns{"Величина", "Значение", "Ед. изм."};

std::string escaped(std::string_view text)
{
    std::string out;
    for (const char c : text) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        default: out += c;
        }
    }
    return out;
}

// A cell of a tab-separated line holds no tab or line break.
std::string cell(std::string_view text)
{
    std::string out(text);
    for (char& c : out)
        if (c == '\t' || c == '\n' || c == '\r')
            c = ' ';
    return out;
}

} // namespace

std::vector<CopiedRow> copiedResults(std::span<const ReportRun> runs)
{
    std::vector<CopiedRow> rows;
    for (const ReportRun& run : runs) {
        const RunRecord& record = *run.record;
        std::string heading(record.calculation->title);
        const ReportRun one[] = {run};
        const Report report = makeReport(one, {}, {});
        if (run.stale)
            heading.append(" (").append(report.sections.front().staleNote).append(")");
        rows.push_back({heading, {}, {}});
        for (const ReportSection& section : report.sections)
            for (const ReportInput& input : section.inputs)
                rows.push_back({input.name, input.read, input.unit});
        for (const QuantityLine& result : resultsOf(record))
            if (result.shown)
                rows.push_back({capitalised(result.entry->name), result.value, std::string(result.entry->unit)});
        if (const std::string words = verdictWords(record); !words.empty())
            rows.push_back(
                {std::string(entryWithRole(record.calculation->id, Role::Verdict)->spokenResult), words, {}});
        if (record.error)
            rows.push_back({"Расчёт остановлен", shortErrorText(*record.error), {}});
    }
    return rows;
}

std::string asTabSeparated(const std::vector<CopiedRow>& rows)
{
    std::string text = std::string(columns[0]) + "\t" + std::string(columns[1]) + "\t" + std::string(columns[2]) + "\n";
    for (const CopiedRow& row : rows)
        text += cell(row.quantity) + "\t" + cell(row.value) + "\t" + cell(row.unit) + "\n";
    return text;
}

std::string asHtmlTable(const std::vector<CopiedRow>& rows)
{
    std::string html = "<table>\n<tr>";
    for (const std::string_view column : columns)
        html += "<th>" + escaped(column) + "</th>";
    html += "</tr>\n";
    for (const CopiedRow& row : rows) {
        if (row.value.empty() && row.unit.empty())
            html += "<tr><th colspan=\"3\">" + escaped(row.quantity) + "</th></tr>\n";
        else
            html += "<tr><td>" + escaped(row.quantity) + "</td><td>" + escaped(row.value) + "</td><td>"
                + escaped(row.unit) + "</td></tr>\n";
    }
    return html + "</table>\n";
}

} // namespace kalventa
