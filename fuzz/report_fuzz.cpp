// Any sequence of calculation runs, recorded as the window records them and
// kept in a run history, with inputs changed after some of them; then the
// calculation report of the history, the copied results as text and as an
// HTML table, and the report saved as a PDF file, on Qt's offscreen platform.
// Whatever the runs, nothing throws or crashes, and:
// - recording a run changes nothing it reads, writes or throws;
// - the report has one section for the last run of each calculation, in the
//   order run, marked when an input the calculation reads changed after it;
// - each section has a formula for every result with one, numbered on
//   through the report, and quotes every field the run read as typed;
// - the copied rows are the report's inputs, the values the window's labels
//   show, the verdict when the label shows one and the error when one
//   stopped the run; the text and the table hold one line a row;
// - the saved file is a PDF.
//
// Input layout: runs separated by 0x1e bytes. A run's first byte names the
// control changed after it (the fields, then the options of fuzz_input.h,
// then Combo1 and Combo2; any other value, none); the rest is a run as in
// fuzz_input.h.

#include "core/calculation_table.h"
#include "core/copied_results.h"
#include "core/error_text.h"
#include "core/formulas.h"
#include "core/run_history.h"
#include "core/run_record.h"
#include "core/runtime_error.h"
#include "fuzz_input.h"
#include "memory_controls.h"
#include "ui/report_actions.h"
#include "ui/report_document.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

using namespace kalventa;
using kalventa::testing::MemoryControls;
using namespace kalventa::fuzzing;

namespace {

constexpr char runSeparator = '\x1e';
constexpr std::size_t mostRuns = 16;

std::vector<std::string_view> inputControls()
{
    std::vector<std::string_view> controls(textFields.begin(), textFields.end());
    controls.insert(controls.end(), options.begin(), options.end());
    controls.insert(controls.end(), {"Combo1", "Combo2"});
    return controls;
}

// The fuzz target's own account of a calculation's last run.
struct LastRun {
    MemoryControls window; // as the run left it
    bool stale = false;
};

// The window as the fuzz input sets it, as calculations_fuzz does.
MemoryControls windowFor(const FuzzInput& input)
{
    MemoryControls window;
    for (std::size_t field = 0; field < input.texts.size(); ++field)
        window.texts[textFields[field]] = std::string(input.texts[field]);
    for (std::size_t k = 0; k < options.size(); ++k)
        window.values[options[k]] = input.optionOn[k] ? Integer{-1} : Integer{0};
    window.listIndexes["Combo1"] = input.combo1;
    window.listIndexes["Combo2"] = input.combo2;
    return window;
}

// Records the run, and checks it against the same run unrecorded.
RunRecord recordChecked(const CalculationEntry& calculation, MemoryControls& window)
{
    MemoryControls bare = window;
    bool stopped = false;
    try {
        calculation.run(bare);
    } catch (const RuntimeError&) {
        stopped = true;
    }
    RunRecord record = recordRun(calculation, window);
    require(record.calculation == &calculation);
    require(record.error.has_value() == stopped);
    require(window.writes == bare.writes && window.reads == bare.reads);
    // A change to any control a run read must reach the history.
    for (const std::string& control : window.reads)
        require(reads(calculation.id, control));
    return record;
}

bool isValidUtf8(std::string_view text)
{
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const std::size_t length = lead < 0x80 ? 1
            : (lead >> 5) == 6                 ? 2
            : (lead >> 4) == 14                ? 3
            : (lead >> 3) == 30                ? 4
                                               : 0;
        if (length == 0 || i + length > text.size())
            return false;
        for (std::size_t k = 1; k < length; ++k)
            if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80)
                return false;
        i += length;
    }
    return true;
}

std::size_t characters(std::string_view text)
{
    return static_cast<std::size_t>(
        std::count_if(text.begin(), text.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

// A field's text as the report quotes it: whole, or its start, cut between
// two characters, and "…". A valid text is quoted valid, and whole up to
// 200 characters.
void checkTyped(std::string_view typed, std::string_view text)
{
    constexpr std::size_t quoted = 200;
    const bool valid = isValidUtf8(text);
    if (typed == text) {
        require(!valid || characters(text) <= quoted);
        return;
    }
    constexpr std::string_view ellipsis = "…";
    require(typed.ends_with(ellipsis));
    const std::string_view start = typed.substr(0, typed.size() - ellipsis.size());
    require(start.size() < text.size() && text.starts_with(start));
    require((static_cast<unsigned char>(text[start.size()]) & 0xC0) != 0x80);
    if (valid)
        require(isValidUtf8(typed) && characters(start) == quoted);
}

std::size_t formulasOf(CalculationId calculation)
{
    const auto rows = catalogue();
    return static_cast<std::size_t>(std::count_if(rows.begin(), rows.end(), [&](const QuantityEntry& row) {
        return row.calculation == calculation && row.role == Role::Result && !row.formula.empty();
    }));
}

const QuantityEntry* resultNamed(CalculationId calculation, std::string_view name)
{
    for (const QuantityEntry& row : catalogue())
        if (row.calculation == calculation && row.role == Role::Result && capitalised(row.name) == name)
            return &row;
    return nullptr;
}

void checkSection(const ReportSection& section, const RunRecord& record, const LastRun& last, int& formulaNumber)
{
    const CalculationEntry& calculation = *record.calculation;
    require(section.title == calculation.title);
    require(section.stale == last.stale);
    require(section.formulas.size() == formulasOf(calculation.id));
    for (const ReportFormula& formula : section.formulas)
        require(formula.number == ++formulaNumber && !formula.text.empty());
    require(section.inputs.size() >= record.fieldsRead.size());
    for (std::size_t k = 0; k < record.fieldsRead.size(); ++k)
        checkTyped(section.inputs[k].typed,
                   last.window.texts.contains(record.fieldsRead[k].field)
                       ? std::string_view(last.window.texts.at(record.fieldsRead[k].field))
                       : std::string_view());
    require(section.stopped.empty() != record.error.has_value());
}

// The copied rows of one run, from its heading on; returns the row after them.
std::size_t checkCopied(const std::vector<CopiedRow>& rows, std::size_t at, const ReportSection& section,
                        const RunRecord& record, const LastRun& last)
{
    const CalculationId id = record.calculation->id;
    require(at < rows.size());
    std::string heading(record.calculation->title);
    require(last.stale ? std::string_view(section.staleNote).starts_with(staleMark) : section.staleNote.empty());
    if (last.stale)
        heading.append(" (").append(section.staleNote).append(")");
    require(rows[at].quantity == heading && rows[at].value.empty() && rows[at].unit.empty());
    ++at;
    for (const ReportInput& input : section.inputs) {
        require(at < rows.size());
        require(rows[at].quantity == input.name && rows[at].value == input.read && rows[at].unit == input.unit);
        ++at;
    }
    // The results as the labels show them, each the value of its formula.
    std::size_t formula = 0;
    for (; at < rows.size(); ++at) {
        const QuantityEntry* result = resultNamed(id, rows[at].quantity);
        if (!result)
            break;
        require(!rows[at].value.empty() && rows[at].unit == result->unit);
        if (!result->label.empty()) {
            std::string shown = last.window.caption(result->label);
            require(last.window.captions.contains(result->label));
            if (shown.starts_with(' '))
                shown.erase(0, 1);
            require(rows[at].value == shown);
        }
        if (result->formula.empty())
            continue;
        const std::string ending
            = " = " + rows[at].value + (result->unit.empty() ? "" : " ") + std::string(result->unit);
        while (formula < section.formulas.size() && !section.formulas[formula].text.ends_with(ending))
            ++formula;
        require(formula < section.formulas.size());
        ++formula;
    }
    // Every result label the run wrote has its row.
    for (const QuantityEntry& row : catalogue())
        if (row.calculation == id && row.role == Role::Result && !row.label.empty()
            && last.window.captions.contains(row.label))
            require(std::any_of(rows.begin(), rows.end(),
                                [&](const CopiedRow& copied) { return copied.quantity == capitalised(row.name); }));
    if (const QuantityEntry* verdict = entryWithRole(id, Role::Verdict);
        verdict && last.window.captions.contains(verdict->label)) {
        require(at < rows.size() && rows[at].quantity == verdict->spokenResult && !rows[at].value.empty());
        ++at;
    }
    if (record.error) {
        require(at < rows.size() && rows[at].quantity == "Расчёт остановлен"
                && rows[at].value == shortErrorText(*record.error));
        ++at;
    }
    return at;
}

std::size_t count(std::string_view text, std::string_view part)
{
    std::size_t found = 0;
    for (std::size_t at = text.find(part); at != std::string_view::npos; at = text.find(part, at + part.size()))
        ++found;
    return found;
}

void checkCopiedTexts(const std::vector<CopiedRow>& rows)
{
    const std::string text = asTabSeparated(rows);
    require(count(text, "\n") == rows.size() + 1 && count(text, "\t") == 2 * (rows.size() + 1));
    const std::string html = asHtmlTable(rows);
    require(count(html, "<tr>") == rows.size() + 1 && count(html, "</tr>") == rows.size() + 1);
    require(count(html, "<") == count(html, ">"));
}

void checkPdf(const Report& report)
{
    const QTemporaryDir folder;
    require(folder.isValid());
    const QString path = folder.filePath(QStringLiteral("report.pdf"));
    require(ui::saveReportPdf(report, path).isEmpty());
    QFile file(path);
    require(file.open(QIODevice::ReadOnly));
    const QByteArray pdf = file.readAll();
    require(pdf.startsWith("%PDF-") && pdf.contains("%%EOF") && pdf.contains("/Type /Page"));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // Lives until the process ends: destroyed at exit, after Qt's own
    // globals, it would crash.
    static auto* application = new QApplication(*argc, *argv);
    (void)application;
    // Fonts load caches of Qt and fontconfig on first use, which the leak
    // check would take for leaks of one input: a report of all three
    // calculations, one stopped by an error, before the first input.
    const auto run = [](char calculation, char optionsOn, std::string_view texts) {
        return std::string{'\xff', calculation, optionsOn} + std::string(texts) + runSeparator;
    };
    const std::string warmUp = run(0, 2, "1000\n50000") + run(1, 0, "\n\n12") + run(2, 0, "\n\n\n\n327675\n10");
    LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(warmUp.data()), warmUp.size());
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view all(reinterpret_cast<const char*>(data), size);
    const std::vector<std::string_view> controls = inputControls();
    RunHistory history;
    std::map<CalculationId, LastRun> last;
    std::vector<CalculationId> order; // of the last runs

    std::size_t runs = 0;
    for (std::size_t start = 0; start < all.size() && runs < mostRuns; ++runs) {
        const std::size_t end = std::min(all.find(runSeparator, start), all.size());
        const std::string_view run = all.substr(start, end - start);
        start = end + 1;
        if (run.empty())
            continue;
        const auto* bytes = reinterpret_cast<const std::uint8_t*>(run.data());
        if (const std::optional<FuzzInput> input = FuzzInput::from(bytes + 1, run.size() - 1)) {
            const CalculationEntry& calculation = calculations()[input->calculation];
            MemoryControls window = windowFor(*input);
            history.add(recordChecked(calculation, window));
            last[calculation.id] = {std::move(window), false};
            std::erase(order, calculation.id);
            order.push_back(calculation.id);
        }
        if (const std::size_t changed = bytes[0]; changed < controls.size()) {
            // A state that no run read the control in: a change, never a change back.
            Integer other = 0x7000;
            while (std::any_of(order.begin(), order.end(), [&](CalculationId id) {
                const auto& read = history.lastRun(id)->controlsRead;
                return std::any_of(read.begin(), read.end(), [&](const ControlRead& c) {
                    return c.control == controls[changed] && c.state == controlState(other);
                });
            }))
                ++other;
            history.inputChanged(controls[changed], controlState(other));
            // A run is marked when a control it did read changes; a control a
            // stopped run never reached leaves it as it was.
            for (auto& [id, lastRun] : last) {
                const auto& read = history.lastRun(id)->controlsRead;
                lastRun.stale = lastRun.stale || std::any_of(read.begin(), read.end(), [&](const ControlRead& c) {
                                    return c.control == controls[changed];
                                });
            }
        }
    }

    const Report report = ui::currentReport(history);
    require(report.sections.size() == order.size() && report.nothingYet.empty() == !order.empty());
    const std::vector<ReportRun> reportRuns = history.reportRuns();
    require(reportRuns.size() == order.size());
    const std::vector<CopiedRow> rows = copiedResults(reportRuns);
    int formulaNumber = 0;
    std::size_t row = 0;
    for (std::size_t k = 0; k < order.size(); ++k) {
        const RunRecord* record = history.lastRun(order[k]);
        require(record != nullptr && reportRuns[k].record == record && history.stale(order[k]) == last[order[k]].stale);
        checkSection(report.sections[k], *record, last[order[k]], formulaNumber);
        row = checkCopied(rows, row, report.sections[k], *record, last[order[k]]);
    }
    require(row == rows.size());
    checkCopiedTexts(rows);
    checkPdf(report);
    return 0;
}
