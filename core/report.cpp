#include "core/report.h"

#include "core/calculation_table.h"
#include "core/error_text.h"
#include "core/formulas.h"

#include <algorithm>

namespace kalventa {
namespace {

// The sketch shows the drum's inputs where they were typed and its results
// in their labels.
constexpr std::string_view sketchInputs[] = {"Text4", "Text5"};
constexpr std::string_view sketchLabels[] = {"Label18", "Label16", "Label12", "Label23", "Label21", "Label20"};

std::string explained(const QuantityEntry& row, std::string_view symbol)
{
    std::string text = std::string(symbol) + " — " + std::string(row.name);
    if (!row.unit.empty())
        text.append(", ").append(row.unit);
    return text;
}

std::string withUnit(std::string value, std::string_view unit)
{
    if (!unit.empty())
        value.append(" ").append(unit);
    return value;
}

// One sentence under the input table, or nothing: the field read as an
// infinity, or the calculation worked with another value than it read.
std::string inputNote(const QuantityEntry& entry, const std::string& read, const std::string& used)
{
    if (used.find("#INF") != std::string::npos)
        return capitalised(entry.name) + ": " + used
            + " — бесконечность: число в поле больше по модулю, чем 3.402823E+38, наибольшее число одинарной точности.";
    if (read == used)
        return {};
    std::string note = capitalised(entry.name) + ": поле прочитано как " + read + ", в расчёте принято "
        + withUnit(used, entry.unit);
    if (!entry.replacement.empty())
        note.append(" (").append(entry.replacement).append(")");
    return note + ".";
}

// The tokens of a formula in symbols that may name something: "⌊L / d⌋"
// gives "L" and "d", "([σ]" gives "[σ]".
std::vector<std::string> tokensOf(std::string_view formula)
{
    static constexpr std::string_view brackets[] = {"(", ")", "⌊", "⌋", "⌈", "⌉"};
    std::vector<std::string> tokens;
    std::size_t start = 0;
    while (start < formula.size()) {
        std::size_t end = formula.find(' ', start);
        if (end == std::string_view::npos)
            end = formula.size();
        std::string_view token = formula.substr(start, end - start);
        for (bool trimmed = true; trimmed && !token.empty();) {
            trimmed = false;
            for (const std::string_view bracket : brackets) {
                if (token.starts_with(bracket)) {
                    token.remove_prefix(bracket.size());
                    trimmed = true;
                }
                if (token.ends_with(bracket)) {
                    token.remove_suffix(bracket.size());
                    trimmed = true;
                }
            }
        }
        if (!token.empty())
            tokens.emplace_back(token);
        start = end + 1;
    }
    return tokens;
}

// «где»: each symbol and number of the formulas explained once, in the order
// it first appears; a layer's rope length lK, which only the sum names, too.
std::vector<std::string> whereOf(const RunRecord& record, const std::vector<QuantityLine>& choices,
                                 const std::vector<QuantityLine>& results)
{
    std::vector<std::pair<std::string, std::string>> known; // symbol, explanation
    for (const QuantityEntry& entry : catalogue())
        if (entry.calculation == record.calculation->id && entry.role == Role::Input)
            known.emplace_back(entry.symbol, explained(entry, entry.symbol));
    for (const std::vector<QuantityLine>* lines : {&choices, &results})
        for (const QuantityLine& line : *lines)
            known.emplace_back(line.symbol, explained(*line.entry, line.symbol));
    for (const ConstantEntry& constant : constants())
        if (constant.calculation == record.calculation->id)
            known.emplace_back(constant.text, std::string(constant.text) + " — " + std::string(constant.meaning));

    std::vector<std::string> where;
    std::vector<std::string> said;
    for (const QuantityLine& line : results) {
        for (const std::string& token : tokensOf(line.inSymbols)) {
            if (std::find(said.begin(), said.end(), token) != said.end())
                continue;
            const auto it = std::find_if(known.begin(), known.end(), [&](const auto& k) { return k.first == token; });
            const bool layerLength
                = token.size() > 1 && token[0] == 'l' && token.find_first_not_of("0123456789", 1) == std::string::npos;
            if (it != known.end())
                where.push_back(it->second);
            else if (layerLength)
                where.push_back(token + " — длина каната в слое " + token.substr(1) + ", м");
            else
                continue;
            said.push_back(token);
        }
    }
    return where;
}

// The item the run found chosen: the option button that was on, or the
// list's index; as the window shows it, empty when none was.
std::string chosenText(const RunRecord& record, const QuantityEntry& choice, const ChoiceText& choiceText)
{
    for (const std::string_view control : choice.controls) {
        const auto read = std::find_if(record.controlsRead.begin(), record.controlsRead.end(),
                                       [&](const ControlRead& c) { return c.control == control; });
        if (control.empty() || read == record.controlsRead.end() || !read->value)
            continue;
        const bool isList = choice.controls[1].empty();
        if (isList)
            return *read->value >= 0 ? choiceText(control, *read->value) : std::string();
        if (*read->value != 0)
            return choiceText(control, -1);
    }
    return {};
}

ReportSection sectionOf(const ReportRun& run, int& formulaNumber, const ChoiceText& choiceText)
{
    const RunRecord& record = *run.record;
    const bool stale = run.stale;
    ReportSection section;
    section.title = std::string(record.calculation->title);
    section.ranAt = record.ranAt;
    section.stale = stale;
    if (stale) {
        section.staleNote = std::string(staleMark);
        for (std::size_t i = 0; i < run.changed.size(); ++i)
            section.staleNote.append(i == 0 ? ": " : ", ").append(run.changed[i]);
    }
    section.savedNote = run.note;

    for (const FieldRead& read : record.fieldsRead) {
        const QuantityEntry* row = entryOf(record.calculation->id, read.quantity);
        if (!row)
            continue;
        // What the calculation worked with: the last value it gave the input.
        const Variant* used = record.finalValue(read.quantity);
        const std::string usedText = valueText(used ? *used : read.value);
        section.inputs.push_back({std::string(row->symbol), capitalised(row->name), std::string(row->unit), read.typed,
                                  usedText, read.notice});
        if (std::string note = inputNote(*row, valueText(read.value), usedText); !note.empty())
            section.notes.push_back(std::move(note));
    }
    const std::vector<QuantityLine> choices = choicesOf(record);
    for (const QuantityLine& choice : choices) {
        if (!choice.reached)
            continue;
        std::string shown = choiceText ? chosenText(record, *choice.entry, choiceText) : std::string();
        section.inputs.push_back({choice.symbol,
                                  capitalised(choice.entry->name),
                                  std::string(choice.entry->unit),
                                  shown.empty() ? "—" : std::move(shown),
                                  choice.value,
                                  {}});
    }

    const std::string stopped = record.error ? "расчёт остановлен, " + shortErrorText(*record.error) : "";
    std::vector<QuantityLine> results = resultsOf(record);
    for (const QuantityLine& result : results)
        section.formulas.push_back({++formulaNumber,
                                    !result.reached    ? result.inSymbols + " — не рассчитано: " + stopped
                                        : result.shown ? result.substituted
                                                       : result.substituted + " — в окно не записано: " + stopped});
    section.where = whereOf(record, choices, results);

    // Only the layers the run completed: a pass an error stopped is told
    // where the run stopped.
    std::size_t complete = 0;
    for (const LayerValues& layer : record.layers) {
        if (layer.totalRopeLength.kind() == VariantKind::Empty)
            break;
        ++complete;
        section.layers.push_back({std::to_string(complete), valueText(layer.pitchDiameter),
                                  valueText(layer.flangeDiameter), valueText(layer.layerLength)});
    }

    if (record.calculation->id == CalculationId::RopeCapacity) {
        for (const std::string_view field : sketchInputs)
            for (const FieldRead& read : record.fieldsRead)
                if (read.field == field)
                    section.sketch.push_back({read.field, valueText(read.value)});
        for (const std::string_view label : sketchLabels)
            if (const std::string* caption = record.finalCaption(label))
                section.sketch.push_back({std::string(label), *caption});
    }

    section.verdict = verdictOf(record);
    if (record.error) {
        const std::string message = errorText(*record.error);
        const std::string_view quantity = quantityWords(record.error->quantity());
        const std::string inLayer
            = record.layers.size() > complete ? " в слое " + std::to_string(record.layers.size()) : std::string();
        section.stopped
            = (quantity.empty() ? "Расчёт остановлен" + inLayer + ": "
                                : "Расчёт остановлен" + inLayer + " на величине «" + std::string(quantity) + "»: ")
            + message.substr(0, message.find('\n'));
    }
    return section;
}

} // namespace

Report makeReport(std::span<const ReportRun> runs, std::string_view program, std::string_view made,
                  const ChoiceText& choiceText)
{
    Report report{"Расчётная записка", std::string(program), std::string(made), {}, {}};
    int formulaNumber = 0;
    for (const ReportRun& run : runs)
        if (run.record && run.record->calculation)
            report.sections.push_back(sectionOf(run, formulaNumber, choiceText));
    if (report.sections.empty())
        report.nothingYet = "Расчёт не выполнялся: нажмите кнопку «Расчёт» одной из групп окна.";
    return report;
}

} // namespace kalventa
