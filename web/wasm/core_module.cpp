// The calculation core as a WebAssembly module for the browser edition. The
// page hands over its controls as a JavaScript object with the four
// functions of the core's Controls (text, value, listIndex, setCaption), and
// a button's calculation runs on them exactly as on the desktop window. The
// same object, with the functions of a FileWindow besides, is what a
// calculation file is taken from and given to.

#include "core/calculation_file.h"
#include "core/calculation_file_window.h"
#include "core/calculation_table.h"
#include "core/catalogue.h"
#include "core/controls.h"
#include "core/copied_results.h"
#include "core/error_text.h"
#include "core/formulas.h"
#include "core/kinds.h"
#include "core/meanings.h"
#include "core/note_outline.h"
#include "core/note_typography.h"
#include "core/report.h"
#include "core/rules_check.h"
#include "core/rules_check_report.h"
#include "core/run_history.h"
#include "core/run_record.h"
#include "core/runtime_error.h"
#include "core/title_block.h"
#include "web/wasm/page_file_window.h"
#include "window/layout_table.h"

#include <emscripten/bind.h>
#include <emscripten/val.h>

#include <charconv>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace kalventa::web {
namespace {

using emscripten::val;

constexpr std::string_view programName = "Кальвента";

// The page's controls: each access calls the JavaScript object's function of
// the same name with the control's name.
class PageControls final : public Controls {
public:
    explicit PageControls(val page)
        : page_(std::move(page))
    {
    }

    std::string text(std::string_view name) override { return page_.call<std::string>("text", std::string(name)); }
    Integer value(std::string_view name) override
    {
        return static_cast<Integer>(page_.call<int>("value", std::string(name)));
    }
    Integer listIndex(std::string_view name) override
    {
        return static_cast<Integer>(page_.call<int>("listIndex", std::string(name)));
    }
    void setCaption(std::string_view name, std::string_view caption) override
    {
        page_.call<void>("setCaption", std::string(name), std::string(caption));
    }

private:
    val page_;
};

// Runs the calculation of `button` on the page's controls. Gives undefined
// when it ran to its end, or the message of the run-time error that stopped
// it (the labels written before the error keep their new texts).
val runButton(const std::string& button, val page)
{
    for (const CalculationEntry& row : calculations()) {
        if (row.button != button)
            continue;
        PageControls controls(std::move(page));
        try {
            row.run(controls);
        } catch (const RuntimeError& error) {
            return val(errorText(error));
        }
        return val::undefined();
    }
    throw std::invalid_argument("no button " + button);
}

// The page's last run of each calculation, for the formulas on its results.
RunHistory& history()
{
    static RunHistory runs;
    return runs;
}

val pair(std::string_view first, std::string_view second)
{
    val both = val::array();
    both.call<void>("push", std::string(first));
    both.call<void>("push", std::string(second));
    return both;
}

// The formula tooltip of each result label of the calculation.
val formulasOf(CalculationId calculation, const RunRecord* lastRun)
{
    val formulas = val::array();
    for (const LabelText& tooltip : resultTooltips(calculation, lastRun))
        formulas.call<void>("push", pair(tooltip.label, tooltip.text));
    return formulas;
}

// What the window says of itself before any run: the names a screen reader
// reads for the inputs and results, the buttons' and the sketch's
// descriptions, the formulas in symbols on the results, and which results
// each calculation gives.
val windowWords()
{
    val words = val::object();
    val inputs = val::array();
    val results = val::array();
    for (const QuantityEntry& quantity : catalogue()) {
        if (!quantity.spokenInput.empty())
            inputs.call<void>("push", pair(quantity.controls[0], quantity.spokenInput));
        if (!quantity.label.empty())
            results.call<void>("push", pair(quantity.label, spokenResult(quantity, nullptr)));
    }
    val buttons = val::array();
    val formulas = val::array();
    for (const CalculationEntry& calculation : calculations()) {
        buttons.call<void>(
            "push", pair(calculation.button, std::string(calculation.title) + ": " + std::string(calculation.purpose)));
        formulas.call<void>("push", formulasOf(calculation.id, nullptr));
    }
    words.set("inputs", inputs);
    words.set("results", results);
    words.set("buttons", buttons);
    words.set("formulas", formulas.call<val>("flat"));
    // Each calculation's results under its title, for the page's list of formulas.
    val groups = val::array();
    for (const CalculationEntry& calculation : calculations()) {
        val shown = val::array();
        for (const QuantityEntry& quantity : catalogue())
            if (!quantity.label.empty() && quantity.calculation == calculation.id)
                shown.call<void>("push", pair(quantity.label, quantity.spokenResult));
        val group = val::object();
        group.set("title", std::string(calculation.title));
        group.set("results", shown);
        groups.call<void>("push", group);
    }
    words.set("calculations", groups);
    words.set("sketch", pair(sketchMeaning.name, sketchMeaning.description));
    words.set("sketchControl", std::string(sketchMeaning.control));
    return words;
}

// Runs the calculation of `button` on the page's controls as the desktop
// window does, recorded: the error's message (undefined when none), the
// summary for a screen reader, the notice of each field read (empty when it
// was read whole), the labels a stopped run empties, the new names of its
// results, and the formulas.
val runRecorded(const std::string& button, val page, const std::string& ranAt)
{
    const CalculationEntry* calculation = calculationOf(button);
    if (!calculation)
        throw std::invalid_argument("no button " + button);
    PageControls controls(std::move(page));
    RunRecord record = recordRun(*calculation, controls);
    record.ranAt = ranAt;

    val outcome = val::object();
    outcome.set("message", record.error ? val(errorText(*record.error)) : val::undefined());
    outcome.set("summary", runSummary(record));
    val notices = val::array();
    for (const FieldRead& read : record.fieldsRead)
        notices.call<void>("push", pair(read.field, read.notice));
    outcome.set("notices", notices);
    val spoken = val::array();
    val emptied = val::array();
    for (const std::string_view label : labelsLeftBehind(record))
        emptied.call<void>("push", std::string(label));
    outcome.set("emptied", emptied);
    for (const QuantityEntry& result : catalogue()) {
        if (result.label.empty() || result.calculation != calculation->id)
            continue;
        if (const std::string* caption = record.finalCaption(result.label))
            spoken.call<void>("push", pair(result.label, spokenResult(result, caption)));
        else if (record.error)
            spoken.call<void>("push", pair(result.label, spokenStopped(result)));
    }
    outcome.set("spoken", spoken);
    history().add(std::move(record));
    outcome.set("formulas", formulasOf(calculation->id, history().lastRun(calculation->id)));
    return outcome;
}

// An input changed: the runs that read it otherwise are marked in the
// report, and unmarked when it is as they read it again.
void textChanged(const std::string& control, const std::string& text)
{
    history().inputChanged(control, controlState(text));
}

void valueChanged(const std::string& control, int value)
{
    history().inputChanged(control, controlState(static_cast<Integer>(value)));
}

val strings(std::initializer_list<std::string_view> texts)
{
    val array = val::array();
    for (const std::string_view text : texts)
        array.call<void>("push", std::string(text));
    return array;
}

// The last runs' inputs and results for the clipboard, as text and as a table.
val copiedResultsOfRuns()
{
    const std::vector<CopiedRow> rows = copiedResults(history().reportRuns());
    val out = val::object();
    out.set("text", asTabSeparated(rows));
    out.set("html", asHtmlTable(rows));
    return out;
}

// ---- The check against today's rules -------------------------------------

rules::CalendarDate dateOf(const val& day)
{
    return {day["year"].as<int>(), day["month"].as<int>(), day["day"].as<int>()};
}

// What the page's dialog is built from: its title, what it is, its controls
// (kind, caption, names, option texts, placeholder, the name a screen reader
// says) and the results' name, the same as the desktop's.
val rulesCheckWords()
{
    val words = val::object();
    words.set("title", std::string(rules::checkTitle));
    words.set("advisory", std::string(rules::advisoryNote));
    val controls = val::array();
    for (const rules::CheckControl& control : rules::checkControls()) {
        val one = val::object();
        one.set("kind",
                control.kind == rules::ControlKind::List        ? "list"
                    : control.kind == rules::ControlKind::Field ? "field"
                                                                : "options");
        one.set("caption", std::string(control.caption));
        one.set("names", strings({control.names[0], control.names[1]}));
        one.set("options", strings({control.options[0], control.options[1]}));
        one.set("placeholder", std::string(control.placeholder));
        one.set("spoken", std::string(rules::entryOf(control.quantity).spoken));
        controls.call<void>("push", one);
    }
    words.set("controls", controls);
    val groups = val::array();
    for (int group = 1; group <= rules::groupCount; ++group)
        groups.call<void>("push", rules::groupName(group));
    words.set("groups", groups);
    words.set("results", pair(rules::resultsControl, rules::resultsName));
    return words;
}

// The check on the page's fields, its dialog's controls (the same controls
// object answers for both) and its last runs, on `today`.
rules::CheckResult checkOnPage(val page, const val& today)
{
    PageControls controls(std::move(page));
    const rules::CheckInputs inputs = rules::readInputs(controls);
    return rules::runCheck(inputs, controls, history(), dateOf(today));
}

// The check's lines of text and its summary for a screen reader.
val rulesCheck(val page, val today)
{
    const rules::CheckResult result = checkOnPage(std::move(page), today);
    val out = val::object();
    val lines = val::array();
    for (const std::string& line : rules::resultText(result))
        lines.call<void>("push", line);
    out.set("lines", lines);
    out.set("summary", result.summary);
    return out;
}

// The copied results with the check's rows after the runs'.
val copiedResultsWithRulesCheck(val page, val today)
{
    std::vector<CopiedRow> rows = copiedResults(history().reportRuns());
    for (CopiedRow& row : rules::rulesCheckRows(checkOnPage(std::move(page), today)))
        rows.push_back(std::move(row));
    val out = val::object();
    out.set("text", asTabSeparated(rows));
    out.set("html", asHtmlTable(rows));
    return out;
}

// ---- Calculation files -----------------------------------------------------

// What the page keeps of files between calls: the one opened last, whose
// title data and keys of later versions the next save writes again, and,
// until its calculations have been run again, what it said on opening.
struct OpenedFile {
    CalculationFile file;
    std::string name;
    std::vector<std::string> notices;
    bool awaitingRuns = false;
};

OpenedFile& opened()
{
    static OpenedFile last;
    return last;
}

std::string quoted(std::string_view text)
{
    return "«" + std::string(text) + "»";
}

std::string joined(const std::vector<std::string>& parts, std::string_view separator)
{
    std::string text;
    for (const std::string& part : parts) {
        if (!text.empty())
            text += separator;
        text += part;
    }
    return text;
}

// The message when a file is not taken; `reason` as the core's file errors
// say it: lower case, without a full stop.
std::string notOpened(std::string_view name, std::string_view reason)
{
    return "Файл " + quoted(name) + " не открыт: " + std::string(reason) + ".";
}

// The check dialog's object, or none when the page passes null.
std::optional<PageFileWindow> checkWindow(const val& rules)
{
    if (rules.isNull() || rules.isUndefined())
        return std::nullopt;
    return PageFileWindow(rules);
}

std::string digits(int number, int width)
{
    char buffer[16];
    const auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, number);
    if (error != std::errc())
        throw std::invalid_argument("a date out of range");
    std::string text(buffer, end);
    if (text.size() < static_cast<std::size_t>(width))
        text.insert(0, static_cast<std::size_t>(width) - text.size(), '0');
    return text;
}

// What the page needs to know before it reads a file.
val calculationFileFacts()
{
    val facts = val::object();
    facts.set("limit", static_cast<double>(calculationFileLimit));
    facts.set("suffix", std::string(calculationFileSuffix));
    facts.set("mediaType", std::string(calculationFileMediaType));
    return facts;
}

// A file the page refuses unread: larger than any calculation, or one the
// browser would not give.
std::string fileTooLarge(const std::string& name)
{
    return notOpened(name, "файл больше " + std::string(calculationFileLimitText));
}

std::string fileUnreadable(const std::string& name)
{
    return notOpened(name, "браузер не дал прочитать файл");
}

// The page's calculation as a file: its controls, which calculations it has
// run, the check's controls when `rules` is given (the check has been
// opened), and the title data of the file opened last. Its text and the name
// it is offered under, with `today`'s date.
val saveFile(val page, val rules, val today)
{
    std::vector<CalculationId> ran;
    for (const CalculationEntry& row : calculations())
        if (history().lastRun(row.id) != nullptr)
            ran.push_back(row.id);
    PageFileWindow window(std::move(page));
    std::optional<PageFileWindow> check = checkWindow(rules);
    CalculationFile file = captureFile(window, ran, check ? &*check : nullptr);
    file.title = opened().file.title;
    file.readFrom = opened().file.readFrom;
    const rules::CalendarDate date = dateOf(today);
    val out = val::object();
    out.set("text", writeCalculationFile(file));
    out.set("name",
            std::string(programName) + " " + digits(date.year, 4) + "-" + digits(date.month, 2) + "-"
                + digits(date.day, 2) + std::string(calculationFileSuffix));
    return out;
}

std::string bytesOf(const val& contents)
{
    if (contents.isString())
        return contents.as<std::string>();
    const auto size = contents["length"].as<std::size_t>();
    std::string bytes(size, '\0');
    val(emscripten::typed_memory_view(size, reinterpret_cast<unsigned char*>(bytes.data())))
        .call<void>("set", contents);
    return bytes;
}

// Opens the file `name` with `contents` (its bytes, or its text) on the page.
// A file that cannot be read, or does not fit the page, is refused before
// anything changes: { error }. Otherwise `reset` puts the page as it is
// before any run (told whether the file holds the check against today's
// rules), the file's fields and choices are set, and the page is told which
// buttons to press again: { rerun }.
val openFile(const std::string& name, val contents, val page, val rules, val reset)
{
    val out = val::object();
    FileReading reading;
    try {
        reading = readCalculationFile(bytesOf(contents));
    } catch (const CalculationFileError& error) {
        out.set("error", notOpened(name, error.what()));
        return out;
    }
    PageFileWindow window(std::move(page));
    std::optional<PageFileWindow> check = checkWindow(rules);
    const std::vector<std::string> misfits = fileMisfits(reading.file, window, check ? &*check : nullptr);
    if (!misfits.empty()) {
        out.set("error", notOpened(name, joined(misfits, "; ")));
        return out;
    }

    history() = RunHistory();
    reset(reading.file.rulesCheck.has_value());
    std::vector<std::string> notices = std::move(reading.notices);
    for (std::string& notice : applyFile(reading.file, window))
        notices.push_back(std::move(notice));
    if (reading.file.rulesCheck && check)
        for (std::string& notice : applyRulesCheck(*reading.file.rulesCheck, *check))
            notices.push_back(std::move(notice));
    val rerun = val::array();
    for (const CalculationId id : calculationsRun(reading.file))
        rerun.call<void>("push", std::string(calculation(id).button));
    out.set("rerun", rerun);
    opened() = {std::move(reading.file), name, std::move(notices), true};
    return out;
}

// Once the page has run the opened file's calculations again: what opening
// it has to say, the notices of what it lacked and the results that now
// differ from those saved; undefined when nothing.
val openedFileMessage(val page)
{
    OpenedFile& last = opened();
    if (!last.awaitingRuns)
        return val::undefined();
    last.awaitingRuns = false;
    PageFileWindow window(std::move(page));
    const std::vector<std::string> differences = resultDifferences(last.file, window);
    // Each calculation's own differences under its section of the note.
    for (auto& [id, sentence] : differencesByCalculation(last.file, window))
        history().noteOnRun(id, std::move(sentence));
    if (last.notices.empty() && differences.empty())
        return val::undefined();
    std::string message = "Файл " + quoted(last.name) + " открыт.";
    for (const std::string& notice : last.notices)
        message += "\n" + notice;
    if (!differences.empty())
        message += "\n" + differencesSentence(differences);
    return val(message);
}

// ---- The calculation note ---------------------------------------------------

// Running text in runs of the note's typography: [text, lowered] each.
val typeset(const std::string& text)
{
    val runs = val::array();
    for (const NoteRun& run : noteTypography(text)) {
        val one = val::array();
        one.call<void>("push", run.text);
        one.call<void>("push", run.index);
        runs.call<void>("push", one);
    }
    return runs;
}

// Plain text as one run.
val unset(const std::string& text)
{
    val run = val::array();
    run.call<void>("push", text);
    run.call<void>("push", false);
    val runs = val::array();
    runs.call<void>("push", run);
    return runs;
}

val noteTable(const NoteTable& table)
{
    val out = val::object();
    out.set("caption", table.caption);
    out.set("continuation", table.continuation);
    val columns = val::array();
    for (const NoteColumn& column : table.columns) {
        val one = val::object();
        one.set("heading", column.heading);
        one.set("percent", column.percent);
        one.set("left", column.align == NoteAlign::Left);
        columns.call<void>("push", one);
    }
    out.set("columns", columns);
    val rows = val::array();
    for (const NoteRow& row : table.rows) {
        val one = val::object();
        one.set("kind",
                row.kind == NoteRowKind::Values       ? "values"
                    : row.kind == NoteRowKind::Notice ? "notice"
                                                      : "group");
        val cells = val::array();
        for (std::size_t column = 0; column < row.cells.size(); ++column) {
            const bool set = row.kind == NoteRowKind::Values && table.columns[column].set;
            cells.call<void>("push", set ? typeset(row.cells[column]) : unset(row.cells[column]));
        }
        one.set("cells", cells);
        one.set("item", static_cast<double>(row.item));
        rows.call<void>("push", one);
    }
    out.set("rows", rows);
    return out;
}

// What the sketch on paper shows at each control of the sketch: a run's
// value whole, a legend, or the window's text; nothing where empty.
val paperSketch(const std::vector<SketchValue>& values)
{
    val out = val::array();
    for (const ui::ControlRow& control : ui::controlRows()) {
        if (control.container != sketchMeaning.control)
            continue;
        const std::optional<std::string> paper = sketchPaperText(control.name, values);
        val one = val::object();
        one.set("control", std::string(control.name));
        one.set("text", paper ? *paper : std::string(control.text));
        out.call<void>("push", one);
    }
    return out;
}

// The page's name of a block's kind.
std::string kindName(NoteBlockKind kind)
{
    switch (kind) {
    case NoteBlockKind::Organisation: return "organisation";
    case NoteBlockKind::Object: return "object";
    case NoteBlockKind::Title: return "title";
    case NoteBlockKind::Designation: return "designation";
    case NoteBlockKind::Program: return "program";
    case NoteBlockKind::Made: return "made";
    case NoteBlockKind::NothingYet: return "nothingYet";
    case NoteBlockKind::Heading: return "heading";
    case NoteBlockKind::Paragraph: return "paragraph";
    case NoteBlockKind::RanAt: return "ranAt";
    case NoteBlockKind::Warning: return "warning";
    case NoteBlockKind::Table: return "table";
    case NoteBlockKind::Note: return "note";
    case NoteBlockKind::Formula: return "formula";
    case NoteBlockKind::Where: return "where";
    case NoteBlockKind::Stopped: return "stopped";
    case NoteBlockKind::Figure: return "figure";
    case NoteBlockKind::Verdict: return "verdict";
    case NoteBlockKind::SavedNote: return "savedNote";
    case NoteBlockKind::Conclusions: return "conclusions";
    case NoteBlockKind::Conclusion: return "conclusion";
    case NoteBlockKind::DrumCheck: return "drumCheck";
    case NoteBlockKind::RulesCheck: return "rulesCheck";
    case NoteBlockKind::Advisory: return "advisory";
    case NoteBlockKind::Finding: return "finding";
    case NoteBlockKind::Grounds: return "grounds";
    case NoteBlockKind::Citation: return "citation";
    case NoteBlockKind::Numbers: return "numbers";
    }
    return {};
}

// The calculation note of the page's runs, block by block as the desktop's
// note is written: `made` is when, as the page gives it; the title data are
// those of the file opened last; the check against today's rules ends it
// when `rules` is given (its dialog was opened), on `today`.
val noteOutlineOfPage(const std::string& made, val page, val rules, val today)
{
    Report report
        = makeReport(history().reportRuns(), std::string(programName) + " " KALVENTA_VERSION, made,
                     [](std::string_view control, int item) { return std::string(ui::choiceText(control, item)); });
    report.titleData = opened().file.title;
    if (!rules.isNull() && !rules.isUndefined()) {
        int formulas = 0;
        for (const ReportSection& section : report.sections)
            formulas += static_cast<int>(section.formulas.size());
        report.rulesCheck = rules::makeRulesCheckNote(checkOnPage(std::move(page), today), formulas + 1);
    }
    val blocks = val::array();
    for (const NoteBlock& block : noteOutline(report)) {
        val one = val::object();
        one.set("kind", kindName(block.kind));
        one.set("lead", block.lead);
        one.set("runs", block.set ? typeset(block.text) : unset(block.text));
        one.set("after", block.after);
        one.set("number", block.number);
        one.set("indented", block.indented);
        if (block.kind == NoteBlockKind::Table)
            one.set("table", noteTable(block.table));
        if (block.kind == NoteBlockKind::Where) {
            one.set("whereLead", block.whereLead);
            val lines = val::array();
            for (const NoteLine& line : block.lines) {
                val runs = block.set ? typeset(line.text) : unset(line.text);
                runs.call<void>("push", unset(line.after)[0]);
                lines.call<void>("push", runs);
            }
            one.set("lines", lines);
        }
        if (block.kind == NoteBlockKind::Figure)
            one.set("sketch", paperSketch(block.sketch));
        blocks.call<void>("push", one);
    }
    val out = val::object();
    out.set("blocks", blocks);
    out.set("title", report.title);
    out.set("frame", report.titleData.frame);
    return out;
}

// The frame of sheet `sheet` of `sheets` of a framed note: the cells of its
// main inscription (`documentName` after the object), and its lines, in millimetres from the sheet's top left corner.
val framedSheetOfPage(const std::string& documentName, int sheet, int sheets)
{
    const FramedSheet framed = framedSheet(opened().file.title, documentName, sheet, sheets);
    const auto rect = [](const MmRect& box) {
        val out = val::object();
        out.set("x", box.x);
        out.set("y", box.y);
        out.set("width", box.width);
        out.set("height", box.height);
        return out;
    };
    val out = val::object();
    out.set("width", sheetWidth);
    out.set("height", sheetHeight);
    out.set("frame", rect(framed.frame));
    out.set("inscription", rect(framed.inscription));
    out.set("text", rect(framed.text));
    val rules = val::array();
    for (const Rule& rule : framed.rules) {
        val one = val::object();
        one.set("x1", rule.x1);
        one.set("y1", rule.y1);
        one.set("x2", rule.x2);
        one.set("y2", rule.y2);
        one.set("width", rule.weight == LineWeight::Main ? mainLineWidth : thinLineWidth);
        rules.call<void>("push", one);
    }
    out.set("rules", rules);
    val cells = val::array();
    for (const InscriptionCell& cell : framed.cells) {
        if (cell.text.empty())
            continue;
        val one = rect(cell.box);
        one.set("text", cell.text);
        // A later sheet's number and the number of sheets, which only the
        // printing knows.
        one.set("counted", (cell.field == Field::Sheet && sheet > 1) || cell.field == Field::Sheets);
        one.set("points", cell.points);
        one.set("bold", cell.bold);
        one.set("centred", cell.centred);
        one.set("wrapped", cell.wrapped);
        cells.call<void>("push", one);
    }
    out.set("cells", cells);
    return out;
}

val buttonNames()
{
    val names = val::array();
    for (const CalculationEntry& row : calculations())
        names.call<void>("push", std::string(row.button));
    return names;
}

} // namespace
} // namespace kalventa::web

EMSCRIPTEN_BINDINGS(kalventa)
{
    using namespace kalventa::web;
    emscripten::function("runButton", &runButton);
    emscripten::function("runRecorded", &runRecorded);
    emscripten::function("windowWords", &windowWords);
    emscripten::function("textChanged", &textChanged);
    emscripten::function("valueChanged", &valueChanged);
    emscripten::function("noteOutline", &noteOutlineOfPage);
    emscripten::function("framedSheet", &framedSheetOfPage);
    emscripten::function("copiedResults", &copiedResultsOfRuns);
    emscripten::function("buttonNames", &buttonNames);
    emscripten::function("rulesCheckWords", &rulesCheckWords);
    emscripten::function("rulesCheck", &rulesCheck);
    emscripten::function("copiedResultsWithRulesCheck", &copiedResultsWithRulesCheck);
    emscripten::function("calculationFileFacts", &calculationFileFacts);
    emscripten::function("fileTooLarge", &fileTooLarge);
    emscripten::function("fileUnreadable", &fileUnreadable);
    emscripten::function("saveFile", &saveFile);
    emscripten::function("openFile", &openFile);
    emscripten::function("openedFileMessage", &openedFileMessage);
}
