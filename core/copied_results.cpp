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

// A value in the labels' number form that a spreadsheet should take as a
// number: an optional minus, digits, an optional point and digits, an
// optional exponent. "1.#INF", a verdict or a text typed are not.
bool isNumberText(std::string_view text)
{
    std::size_t at = text.starts_with('-') ? 1 : 0;
    const auto digits = [&] {
        const std::size_t start = at;
        while (at < text.size() && text[at] >= '0' && text[at] <= '9')
            ++at;
        return at > start;
    };
    if (!digits())
        return false;
    if (at < text.size() && text[at] == '.' && (++at, !digits()))
        return false;
    if (at < text.size() && text[at] == 'E') {
        ++at;
        if (at < text.size() && (text[at] == '+' || text[at] == '-'))
            ++at;
        if (!digits())
            return false;
    }
    return at == text.size();
}

// A value cell. A spreadsheet reads the cell's text by its own locale, so
// that "271.2072" is a date or a text under a decimal comma; the value is
// also given as the two programs read it whatever their locale: LibreOffice's
// sdval with a US English number format, Excel's x:num.
std::string valueCell(std::string_view value)
{
    if (!isNumberText(value))
        return "<td>" + escaped(value) + "</td>";
    const std::string number = escaped(value);
    return "<td sdval=\"" + number + "\" sdnum=\"1033;0;General\" x:num=\"" + number + "\">" + number + "</td>";
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
            html += "<tr><td>" + escaped(row.quantity) + "</td>" + valueCell(row.value) + "<td>" + escaped(row.unit)
                + "</td></tr>\n";
    }
    return html + "</table>\n";
}

} // namespace kalventa
