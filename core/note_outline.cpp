#include "core/note_outline.h"

#include "core/catalogue.h"

#include <algorithm>
#include <iterator>
#include <utility>

namespace kalventa {
namespace {

// The label's text is the result as the window shows it.
std::vector<NoteColumn> inputColumns()
{
    return {{"Величина", 49, NoteAlign::Left},
            {"Обозначение", 15, NoteAlign::Centre, true},
            {"Ед. изм.", 10, NoteAlign::Centre},
            {"Введено", 13, NoteAlign::Centre},
            {"Принято", 13, NoteAlign::Centre}};
}

std::vector<NoteColumn> summaryColumns()
{
    return {{"Величина", 38, NoteAlign::Left},
            {"Обозначение", 15, NoteAlign::Centre},
            {"Значение", 20, NoteAlign::Centre},
            {"Ед. изм.", 10, NoteAlign::Centre},
            {"В окне", 17, NoteAlign::Centre}};
}

// Where each input of the check against today's rules comes from, besides.
std::vector<NoteColumn> checkColumns()
{
    return {{"Величина", 33, NoteAlign::Left},  {"Обозначение", 11, NoteAlign::Centre},
            {"Ед. изм.", 8, NoteAlign::Centre}, {"Введено", 11, NoteAlign::Centre},
            {"Принято", 11, NoteAlign::Centre}, {"Откуда", 26, NoteAlign::Left}};
}

std::vector<NoteColumn> layerColumns()
{
    return {{"Слой", 16, NoteAlign::Centre},
            {"P, мм", 28, NoteAlign::Centre},
            {"F, мм", 28, NoteAlign::Centre},
            {"l, м", 28, NoteAlign::Centre}};
}

// A unit or a symbol a quantity lacks is a dash in a table.
std::string orDash(const std::string& text)
{
    return text.empty() ? "—" : text;
}

class Outliner {
public:
    std::vector<NoteBlock> outline(const Report& report)
    {
        titleBlock(report);
        if (report.sections.empty())
            plain(NoteBlockKind::NothingYet, report.nothingYet);
        if (!report.method.paragraphs.empty()) {
            heading(report.method.title);
            for (const std::string& words : report.method.paragraphs)
                plain(NoteBlockKind::Paragraph, words);
        }
        for (const ReportSection& section : report.sections)
            write(section);
        if (!report.summary.runs.empty())
            summary(report.summary);
        if (report.rulesCheck)
            rulesCheck(*report.rulesCheck);
        return std::move(blocks_);
    }

private:
    std::vector<NoteBlock> blocks_;
    int sections_ = 0;
    int tables_ = 0;
    int figures_ = 0;

    NoteBlock& plain(NoteBlockKind kind, std::string text, std::string lead = {}, std::string after = {})
    {
        blocks_.push_back({kind, std::move(lead), std::move(text), std::move(after)});
        return blocks_.back();
    }

    NoteBlock& set(NoteBlockKind kind, std::string text, std::string lead = {})
    {
        NoteBlock& block = plain(kind, std::move(text), std::move(lead));
        block.set = true;
        return block;
    }

    // The organisation above the title, the object before it and the
    // designation after it, each where given; then the program and when
    // the note was made.
    void titleBlock(const Report& report)
    {
        const TitleData& data = report.titleData;
        if (!data.organisation.empty())
            plain(NoteBlockKind::Organisation, data.organisation);
        if (!data.object.empty())
            plain(NoteBlockKind::Object, data.object);
        plain(NoteBlockKind::Title, report.title);
        if (!data.designation.empty())
            plain(NoteBlockKind::Designation, data.designation);
        plain(NoteBlockKind::Program, report.program);
        plain(NoteBlockKind::Made, report.made);
    }

    void heading(const std::string& title)
    {
        ++sections_;
        plain(NoteBlockKind::Heading, std::to_string(sections_) + " " + title).number = sections_;
    }

    NoteTable& table(const std::string& title, std::vector<NoteColumn> columns, bool continued)
    {
        NoteBlock& block = plain(NoteBlockKind::Table, {});
        block.number = ++tables_;
        block.table.caption = "Таблица " + std::to_string(tables_) + " — " + title;
        if (continued)
            block.table.continuation = "Продолжение таблицы " + std::to_string(tables_);
        block.table.columns = std::move(columns);
        return block.table;
    }

    void write(const ReportSection& section)
    {
        heading(section.title);
        if (!section.ranAt.empty())
            plain(NoteBlockKind::RanAt, section.ranAt, "Расчёт выполнен ");
        if (section.stale)
            plain(NoteBlockKind::Warning, section.staleNote, "Внимание: ", ".");
        if (!section.inputs.empty()) {
            NoteTable& inputs = table("Исходные данные", inputColumns(), true);
            for (std::size_t item = 0; item < section.inputs.size(); ++item) {
                const ReportInput& input = section.inputs[item];
                inputs.rows.push_back({NoteRowKind::Values,
                                       {input.name, input.symbol, orDash(input.unit), input.typed, input.read},
                                       item});
                if (!input.notice.empty())
                    inputs.rows.push_back({NoteRowKind::Notice, {input.notice}, item});
            }
        }
        // Under the inputs' table: "Примечание —" for one, numbered for several.
        for (std::size_t i = 0; i < section.notes.size(); ++i)
            set(NoteBlockKind::Note, section.notes[i],
                section.notes.size() == 1 ? "Примечание — " : "Примечание " + std::to_string(i + 1) + " — ");
        for (const ReportFormula& formula : section.formulas)
            set(NoteBlockKind::Formula, formula.text, {}).number = formula.number;
        // «где» and then one symbol a line, the last one ending with a full stop.
        if (!section.where.empty()) {
            NoteBlock& where = plain(NoteBlockKind::Where, {});
            where.set = true;
            where.whereLead = "где";
            for (std::size_t i = 0; i < section.where.size(); ++i)
                where.lines.push_back({section.where[i], i + 1 == section.where.size() ? "." : ";"});
        }
        // Where the run stopped, under its formulas and before its layers and its figure.
        if (!section.stopped.empty())
            plain(NoteBlockKind::Stopped, section.stopped);
        if (!section.layers.empty()) {
            NoteTable& layers = table("Слои навивки каната", layerColumns(), true);
            for (std::size_t item = 0; item < section.layers.size(); ++item) {
                const ReportLayer& layer = section.layers[item];
                layers.rows.push_back({NoteRowKind::Values,
                                       {layer.layer, layer.pitchDiameter, layer.flangeDiameter, layer.layerLength},
                                       item});
            }
        }
        if (!section.sketch.empty()) {
            NoteBlock& figure = plain(NoteBlockKind::Figure, {});
            figure.number = ++figures_;
            figure.text = "Рисунок " + std::to_string(figures_) + " — Барабан: введённые и рассчитанные размеры";
            figure.sketch = section.sketch;
        }
        if (!section.verdict.empty())
            set(NoteBlockKind::Verdict, section.verdict, "Вывод: ");
        if (!section.savedNote.empty())
            plain(NoteBlockKind::SavedNote, section.savedNote);
    }

    // Every result of every run in one table, a row of its calculation's
    // title above its results; then the conclusion on each run and the drum
    // checked against its limits.
    void summary(const ReportSummary& summary)
    {
        heading(summary.title);
        NoteTable& results = table("Результаты расчётов", summaryColumns(), false);
        for (const SummaryRun& run : summary.runs) {
            results.rows.push_back({NoteRowKind::Group, {run.calculation}});
            for (const SummaryRow& row : run.rows)
                results.rows.push_back(
                    {NoteRowKind::Values, {row.quantity, orDash(row.symbol), row.value, orDash(row.unit), row.label}});
        }
        plain(NoteBlockKind::Conclusions, "Выводы:");
        for (const SummaryRun& run : summary.runs)
            plain(NoteBlockKind::Conclusion, run.calculation + " — " + run.conclusion + ".");
        for (std::size_t i = 0; i < summary.drumCheck.size(); ++i)
            set(NoteBlockKind::DrumCheck, summary.drumCheck[i]).indented = i > 0;
    }

    // The check against today's rules, apart from the old method's sections:
    // its inputs as typed and as taken, its formulas and verdicts as the
    // check writes them, the rules it cites.
    void rulesCheck(const rules::RulesCheckNote& note)
    {
        ++sections_;
        plain(NoteBlockKind::RulesCheck, std::to_string(sections_) + " " + note.title).number = sections_;
        plain(NoteBlockKind::Advisory, note.advisory, {}, ".");
        for (const std::string& warning : note.warnings)
            plain(NoteBlockKind::Warning, warning, "Внимание: ", ".");
        NoteTable& inputs = table("Исходные данные проверки", checkColumns(), false);
        for (std::size_t item = 0; item < note.inputs.size(); ++item) {
            const rules::NoteInput& input = note.inputs[item];
            inputs.rows.push_back(
                {NoteRowKind::Values,
                 {input.name, input.symbol, orDash(input.unit), input.typed, input.taken, input.origin},
                 item});
            if (!input.notice.empty())
                inputs.rows.push_back({NoteRowKind::Notice, {input.notice}, item});
        }
        for (const rules::NoteFormula& formula : note.formulas)
            plain(NoteBlockKind::Formula, formula.text).number = formula.number;
        if (!note.where.empty()) {
            NoteBlock& where = plain(NoteBlockKind::Where, {});
            where.whereLead = "где";
            for (std::size_t i = 0; i < note.where.size(); ++i)
                where.lines.push_back({note.where[i], i + 1 == note.where.size() ? "." : ";"});
        }
        plain(NoteBlockKind::Conclusions, "Выводы:");
        for (const std::string& verdict : note.verdicts)
            plain(NoteBlockKind::Finding, verdict, {}, ".");
        plain(NoteBlockKind::Grounds, "Основания:");
        for (const std::string& citation : note.citations)
            plain(NoteBlockKind::Citation, citation, {}, ".");
        plain(NoteBlockKind::Numbers, note.numbers);
    }
};

// The marks "*" beside the two fields say, on the window, which fields the
// sketch explains; on paper the values stand in their places instead.
constexpr std::string_view leftOut[] = {"Label25", "Label29"};
// The values whose place alone does not say what they are: the wall
// thickness on its shelf and the leftover length over its short dimension.
constexpr std::string_view named[] = {"Label23", "Label12"};
// The legend that names the unit of its value; on paper the value has it.
constexpr std::pair<std::string_view, std::string_view> paperLegends[] = {{"Label27", "Канатоёмкость"}};

// A label's blank in the place of a plus sign is no part of the value.
std::string trimmed(std::string_view text)
{
    constexpr std::string_view blanks = " \t\n\r\f\v";
    const auto first = text.find_first_not_of(blanks);
    if (first == std::string_view::npos)
        return {};
    return std::string(text.substr(first, text.find_last_not_of(blanks) - first + 1));
}

} // namespace

std::optional<std::string> sketchPaperText(std::string_view control, std::span<const SketchValue> values)
{
    if (std::find(std::begin(leftOut), std::end(leftOut), control) != std::end(leftOut))
        return std::string();
    const auto value
        = std::find_if(values.begin(), values.end(), [&](const SketchValue& v) { return v.control == control; });
    if (value == values.end()) {
        const auto legend = std::find_if(std::begin(paperLegends), std::end(paperLegends),
                                         [&](const auto& entry) { return entry.first == control; });
        if (legend == std::end(paperLegends))
            return std::nullopt;
        return std::string(legend->second);
    }
    std::string text = trimmed(value->text);
    const auto entry = std::find_if(catalogue().begin(), catalogue().end(), [&](const QuantityEntry& e) {
        return e.calculation == CalculationId::RopeCapacity && (e.label == control || e.controls[0] == control);
    });
    if (entry == catalogue().end())
        return text;
    if (std::find(std::begin(named), std::end(named), control) != std::end(named))
        text = std::string(entry->symbol).append(" = ").append(text);
    if (!entry->unit.empty())
        text.append(" ").append(entry->unit);
    return text;
}

std::vector<NoteBlock> noteOutline(const Report& report)
{
    return Outliner().outline(report);
}

} // namespace kalventa
