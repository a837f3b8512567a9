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

// The layers the run completed, those whose rope length went into S.
std::size_t completeLayers(const RunRecord& record)
{
    std::size_t complete = 0;
    while (complete < record.layers.size() && record.layers[complete].totalRopeLength.kind() != VariantKind::Empty)
        ++complete;
    return complete;
}

// Where an error stopped the run and what it was: "расчёт остановлен в слое
// 2: переполнение при вычислении диаметра навивки слоя".
std::string stoppedWords(const RunRecord& record)
{
    // A step of the layer loop stops the pass after the layers completed.
    using enum Quantity;
    const Quantity step = record.error->quantity();
    const bool inLoop
        = step == PitchDiameter || step == FlangeDiameter || step == LayerLength || step == TotalRopeLength;
    const std::string inLayer = inLoop ? " в слое " + std::to_string(completeLayers(record) + 1) : std::string();
    return "расчёт остановлен" + inLayer + ": " + errorClause(*record.error);
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
    for (std::size_t i = 0; i < completeLayers(record); ++i) {
        const LayerValues& layer = record.layers[i];
        section.layers.push_back({std::to_string(i + 1), valueText(layer.pitchDiameter),
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
    if (record.error)
        section.stopped = capitalised(stoppedWords(record)) + ".";
    return section;
}

// The results whose formulas the method gives, in the calculations' order.
constexpr Quantity methodResults[] = {Quantity::RopeTension, Quantity::MinDrumDiameter, Quantity::MaxDrumLength,
                                      Quantity::RopeCapacity, Quantity::WallThickness};

// A choice's values as the window offers them: "лёгкий — 5, средний — 5.5".
std::string choiceTable(const QuantityEntry& choice)
{
    std::string table;
    for (const ChoiceValue& item : choiceValues())
        if (item.calculation == choice.calculation && item.quantity == choice.quantity)
            table.append(table.empty() ? "" : ", ").append(item.name).append(" — ").append(valueText(item.value));
    return table;
}

// "Минимальный диаметр барабана Dмин = 19 · d, где 19 — наименьшее отношение
// диаметра барабана к диаметру каната.": the formula in symbols, with the
// numbers it holds and the table each choice in it takes its value from.
std::string methodSentence(const QuantityEntry& result)
{
    std::string sentence
        = capitalised(result.name) + " " + std::string(result.symbol) + " = " + std::string(result.formula);
    std::vector<std::string> said;
    for (const std::string& token : tokensOf(result.formula)) {
        for (const ConstantEntry& constant : constants())
            if (constant.calculation == result.calculation && constant.text == token)
                said.push_back(token + " — " + std::string(constant.meaning));
        for (const QuantityEntry& entry : catalogue())
            if (entry.calculation == result.calculation && entry.role == Role::Choice && entry.symbol == token)
                said.push_back(explained(entry, entry.symbol)
                               + ", по таблице исходной методики: " + choiceTable(entry));
    }
    for (std::size_t i = 0; i < said.size(); ++i)
        sentence.append(i == 0 ? ", где " : "; ").append(said[i]);
    return sentence + ".";
}

ReportMethod methodOf(std::span<const ReportRun> runs)
{
    ReportMethod method;
    for (const CalculationEntry& calculation : calculations()) {
        const bool ran = std::any_of(runs.begin(), runs.end(), [&](const ReportRun& run) {
            return run.record && run.record->calculation == &calculation;
        });
        std::string paragraph;
        for (const Quantity quantity : methodResults)
            if (const QuantityEntry* result = entryOf(calculation.id, quantity); ran && result)
                paragraph.append(paragraph.empty() ? "" : " ").append(methodSentence(*result));
        if (!paragraph.empty())
            method.paragraphs.push_back(std::move(paragraph));
    }
    if (method.paragraphs.empty())
        return method;
    method.title = "Методика";
    method.paragraphs.emplace_back(
        "Числа вычисляются в типах исходной методики: Single (одинарная точность), Double (двойная точность), "
        "Currency (четыре знака после точки) и Integer (16-битное целое), — с её округлениями и записываются в "
        "её виде: точка отделяет дробную часть, ноль перед ней опускается (.5), большие числа — с порядком "
        "(1.2E+08). Поэтому цифры записки можно сравнивать с результатами исходной методики цифра в цифру.");
    return method;
}

// The run's results, its choice a label shows and its verdict, in the
// catalogue's order.
SummaryRun summaryOf(const ReportRun& run)
{
    const RunRecord& record = *run.record;
    SummaryRun summary{std::string(record.calculation->title), {}, {}};
    std::vector<QuantityLine> lines = choicesOf(record);
    for (QuantityLine& line : resultsOf(record))
        lines.push_back(std::move(line));
    for (const QuantityEntry& entry : catalogue()) {
        if (entry.calculation != record.calculation->id || (entry.role != Role::Result && entry.label.empty()))
            continue;
        SummaryRow row{capitalised(entry.name), {}, "не рассчитано", std::string(entry.unit), "—"};
        const auto line
            = std::find_if(lines.begin(), lines.end(), [&](const QuantityLine& l) { return l.entry == &entry; });
        if (line != lines.end()) {
            row.symbol = line->symbol;
            if (line->reached)
                row.value = line->value;
        } else if (const std::string words = verdictWords(record); !words.empty()) {
            row.value = words;
        }
        if (!entry.label.empty()) {
            const std::string* caption = record.finalCaption(entry.label);
            row.label = caption && !caption->empty() ? *caption : "пусто";
        }
        summary.rows.push_back(std::move(row));
    }
    summary.conclusion = record.error                        ? stoppedWords(record)
        : record.calculation->id == CalculationId::RopeCheck ? verdictWords(record)
                                                             : std::string("рассчитано");
    if (run.stale)
        summary.conclusion.append("; ").append(staleMark);
    return summary;
}

// "D = 400 мм ≥ Dмин = 285 мм — выполняется": `held` whether the condition
// `sign` states holds, `otherwise` the sign when it does not.
std::string condition(const QuantityEntry& value, const Variant& v, const QuantityEntry& limit, const Variant& l,
                      std::string_view sign, std::string_view otherwise, bool held)
{
    const std::string sides = std::string(value.symbol) + " = " + withUnit(valueText(v), value.unit) + " "
        + std::string(held ? sign : otherwise) + " " + std::string(limit.symbol) + " = "
        + withUnit(valueText(l), limit.unit);
    return held ? sides + " — выполняется"
                : sides + " — условие " + std::string(value.symbol) + " " + std::string(sign) + " "
            + std::string(limit.symbol) + " не выполняется";
}

// The rope capacity's drum against the drum size limits, compared as the
// calculations hold the values, where both were worked out for the same
// rope diameter.
std::vector<std::string> drumCheckOf(const RunRecord* limits, const RunRecord* capacity)
{
    if (!capacity)
        return {};
    const std::string notChecked = "Размеры барабана с допустимыми не сравнены: ";
    const std::string limitsTitle(calculation(CalculationId::DrumSizeLimits).title);
    if (!limits)
        return {notChecked + "расчёт «" + limitsTitle + "» не выполнялся."};
    using enum Quantity;
    const Variant* ropeForLimits = limits->finalValue(RopeDiameter);
    const Variant* minDiameter = limits->finalValue(MinDrumDiameter);
    const Variant* maxLength = limits->finalValue(MaxDrumLength);
    const Variant* rope = capacity->finalValue(RopeDiameter);
    const Variant* diameter = capacity->finalValue(DrumDiameter);
    const Variant* length = capacity->finalValue(DrumLength);
    if (!ropeForLimits || !minDiameter || !maxLength)
        return {notChecked + "расчёт «" + limitsTitle + "» остановлен до них."};
    if (!rope || !diameter || !length)
        return {notChecked + "расчёт «" + std::string(capacity->calculation->title)
                + "» остановлен до размеров барабана."};
    const QuantityEntry& d = *entryOf(CalculationId::RopeCapacity, RopeDiameter);
    if (!equal(*ropeForLimits, *rope))
        return {notChecked + "допустимые размеры рассчитаны для каната " + std::string(d.symbol) + " = "
                + withUnit(valueText(*ropeForLimits), d.unit) + ", канатоёмкость — для " + std::string(d.symbol) + " = "
                + withUnit(valueText(*rope), d.unit) + "."};
    return {"Размеры барабана сравнены с допустимыми для того же каната, " + std::string(d.symbol) + " = "
                + withUnit(valueText(*rope), d.unit) + ":",
            condition(*entryOf(CalculationId::RopeCapacity, DrumDiameter), *diameter,
                      *entryOf(CalculationId::DrumSizeLimits, MinDrumDiameter), *minDiameter, "≥", "<",
                      !lessThan(*diameter, *minDiameter)),
            condition(*entryOf(CalculationId::RopeCapacity, DrumLength), *length,
                      *entryOf(CalculationId::DrumSizeLimits, MaxDrumLength), *maxLength, "≤", ">",
                      !lessThan(*maxLength, *length))};
}

} // namespace

Report makeReport(std::span<const ReportRun> runs, std::string_view program, std::string_view made,
                  const ChoiceText& choiceText)
{
    Report report{"Расчётная записка", std::string(program), std::string(made), {}, {}};
    int formulaNumber = 0;
    const RunRecord* limits = nullptr;
    const RunRecord* capacity = nullptr;
    for (const ReportRun& run : runs) {
        if (!run.record || !run.record->calculation)
            continue;
        report.sections.push_back(sectionOf(run, formulaNumber, choiceText));
        report.summary.runs.push_back(summaryOf(run));
        if (run.record->calculation->id == CalculationId::DrumSizeLimits)
            limits = run.record;
        if (run.record->calculation->id == CalculationId::RopeCapacity)
            capacity = run.record;
    }
    report.method = methodOf(runs);
    if (!report.summary.runs.empty()) {
        report.summary.title = "Сводка результатов";
        report.summary.drumCheck = drumCheckOf(limits, capacity);
    }
    if (report.sections.empty())
        report.nothingYet = "Расчёт не выполнялся: нажмите кнопку «Расчёт» одной из групп окна.";
    return report;
}

} // namespace kalventa
