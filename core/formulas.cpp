#include "core/formulas.h"

#include "core/calculation_table.h"
#include "core/error_text.h"
#include "core/meanings.h"
#include "core/number_to_text.h"

#include <algorithm>
#include <array>
#include <optional>

namespace kalventa {
namespace {

using enum Quantity;

bool isChoice(const QuantityEntry& entry)
{
    return entry.role == Role::Choice;
}
bool isResult(const QuantityEntry& entry)
{
    return entry.role == Role::Result;
}

// Replaces every {token} of `pattern` by what `fill` gives for it.
template <class Fill>
std::string expand(std::string_view pattern, Fill&& fill)
{
    std::string out;
    for (std::size_t i = 0; i < pattern.size();) {
        const std::size_t open = pattern.find('{', i);
        const std::size_t close = open == std::string_view::npos ? open : pattern.find('}', open);
        if (close == std::string_view::npos) {
            out.append(pattern.substr(i));
            break;
        }
        out.append(pattern.substr(i, open - i));
        out.append(fill(pattern.substr(open + 1, close - open - 1)));
        i = close + 1;
    }
    return out;
}

std::string withUnit(std::string value, std::string_view unit)
{
    if (!unit.empty())
        value.append(" ").append(unit);
    return value;
}

// A value as it stands in a substituted formula: negative ones in brackets.
std::string operand(const Variant& value)
{
    std::string text = valueText(value);
    return text.starts_with('-') ? "(" + text + ")" : text;
}

// Reads a run's values for its formulas.
class RunValues {
public:
    explicit RunValues(const RunRecord& record)
        : record_(record)
    {
        // The layers the run completed: those whose rope length went into S.
        // A pass an error stopped shows nowhere, and so counts nowhere.
        while (complete_ < record.layers.size()
               && record.layers[complete_].totalRopeLength.kind() != VariantKind::Empty)
            ++complete_;
    }

    std::string layers() const { return std::to_string(complete_); }

    // The top complete layer's value of a layer quantity; null when there is
    // none, or when `quantity` is no layer quantity.
    const Variant* layerValue(Quantity quantity) const
    {
        if (complete_ == 0)
            return nullptr;
        const LayerValues& top = record_.layers[complete_ - 1];
        switch (quantity) {
        case PitchDiameter: return &top.pitchDiameter;
        case FlangeDiameter: return &top.flangeDiameter;
        case LayerLength: return &top.layerLength;
        case TotalRopeLength: return &top.totalRopeLength;
        default: return nullptr;
        }
    }

    // The value the formulas take for a quantity: a layer quantity's from the
    // top complete layer, any other the last the run gave it.
    const Variant* value(Quantity quantity) const
    {
        if (isLayerQuantity(quantity))
            return layerValue(quantity);
        return record_.finalValue(quantity);
    }

    static bool isLayerQuantity(Quantity quantity)
    {
        return quantity == PitchDiameter || quantity == FlangeDiameter || quantity == LayerLength
            || quantity == TotalRopeLength;
    }

    // The symbols of the run's formulas with the number of layers put in.
    std::string symbols(std::string_view pattern, bool symbolic) const
    {
        // A run stopped before its first layer has no number of layers to show.
        symbolic = symbolic || complete_ == 0;
        return expand(pattern, [&](std::string_view token) -> std::string {
            if (token == "N")
                return symbolic ? "N" : layers();
            if (token == "l-symbols")
                return symbolic ? "l1 + … + lN" : layerSymbols();
            std::string kept("{");
            kept.append(token).append("}");
            return kept;
        });
    }

    std::string substituted(std::string_view pattern) const
    {
        return expand(pattern, [&](std::string_view token) -> std::string {
            if (token == "N-1")
                return std::to_string(complete_ == 0 ? 0 : complete_ - 1);
            if (token == "P")
                return valueOf(PitchDiameter);
            if (token == "l-values")
                return layerValues();
            const auto rows = catalogue();
            const auto row = std::find_if(rows.begin(), rows.end(), [&](const QuantityEntry& r) {
                return r.calculation == record_.calculation->id && r.symbol == token;
            });
            return row == rows.end() ? std::string(token) : valueOf(row->quantity);
        });
    }

    // The value a choice shows: what was chosen, and what an empty choice
    // means (the allowable stress that replaces it is noted later).
    std::string choice(const QuantityEntry& row) const
    {
        const auto first = std::find_if(record_.values.begin(), record_.values.end(),
                                        [&](const NotedValue& v) { return v.quantity == row.quantity; });
        if (first == record_.values.end())
            return {};
        if (first->value.kind() == VariantKind::Empty)
            return std::string(row.ifEmpty);
        if (row.quantity == LayerCount)
            return plainText(static_cast<Integer>(first->value.integer() + 1));
        return valueText(first->value);
    }

private:
    std::string valueOf(Quantity quantity) const
    {
        const Variant* found = value(quantity);
        return found ? operand(*found) : "?";
    }

    std::string layerSymbols() const
    {
        std::string out;
        for (std::size_t i = 1; i <= complete_; ++i)
            out += (i > 1 ? " + l" : "l") + std::to_string(i);
        return out;
    }

    std::string layerValues() const
    {
        std::string out;
        for (std::size_t i = 0; i < complete_; ++i)
            out += (out.empty() ? "" : " + ") + operand(record_.layers[i].layerLength);
        return out;
    }

    const RunRecord& record_;
    std::size_t complete_ = 0;
};

QuantityLine lineOf(const QuantityEntry& row, const RunRecord& record)
{
    const RunValues values(record);
    QuantityLine line;
    line.entry = &row;
    line.symbol = values.symbols(row.symbol, false);
    line.inSymbols = row.formula.empty() ? line.symbol : line.symbol + " = " + values.symbols(row.formula, false);
    if (isChoice(row)) {
        line.value = values.choice(row);
        line.reached = !line.value.empty();
    } else if (const Variant* value = values.value(row.quantity)) {
        line.value = valueText(*value);
        line.reached = true;
    }
    // A result the window shows may have been worked out and yet not written,
    // an error coming first: the label then still shows an older text.
    line.shown = line.reached && (row.label.empty() || isChoice(row) || record.finalCaption(row.label) != nullptr);
    if (line.reached)
        line.substituted = row.formula.empty()
            ? line.symbol + " = " + line.valueWithUnit()
            : line.inSymbols + " = " + values.substituted(row.substitution) + " = " + line.valueWithUnit();
    return line;
}

std::vector<QuantityLine> linesOf(const RunRecord& record, bool (*wanted)(const QuantityEntry&))
{
    std::vector<QuantityLine> lines;
    if (!record.calculation)
        return lines;
    for (const QuantityEntry& row : catalogue())
        if (row.calculation == record.calculation->id && wanted(row))
            lines.push_back(lineOf(row, record));
    return lines;
}

constexpr std::string_view verdictRule
    = "Канат не допустим, если Fр < Sмин: разрывное усилие каната меньше минимального допустимого натяжения";

} // namespace

std::string capitalised(std::string_view name)
{
    // The names start with a Cyrillic lower-case letter (two bytes) or a Latin one.
    std::string text(name);
    const auto first = static_cast<unsigned char>(text.empty() ? 0 : text[0]);
    if (first == 0xD0 && text.size() > 1) {
        const auto second = static_cast<unsigned char>(text[1]);
        if (second >= 0xB0 && second <= 0xBF)
            text[1] = static_cast<char>(second - 0x20); // а…п
    } else if (first == 0xD1 && text.size() > 1) {
        const auto second = static_cast<unsigned char>(text[1]);
        if (second >= 0x80 && second <= 0x8F) {
            text[0] = static_cast<char>(0xD0); // р…я
            text[1] = static_cast<char>(second + 0x20);
        }
    }
    return text;
}

std::string QuantityLine::valueWithUnit() const
{
    return withUnit(value, isChoice(*entry) && value.find(' ') != std::string::npos ? std::string_view{} : entry->unit);
}

std::string valueText(const Variant& value)
{
    std::string text = signedText(value);
    if (text.starts_with(' '))
        text.erase(0, 1);
    return text;
}

std::vector<QuantityLine> choicesOf(const RunRecord& record)
{
    return linesOf(record, &isChoice);
}

std::vector<QuantityLine> resultsOf(const RunRecord& record)
{
    return linesOf(record, &isResult);
}

namespace {

// A value in the labels' form that is zero or below it.
bool notPositive(const Variant* value)
{
    const std::string text = value ? valueText(*value) : std::string("0");
    return text == "0" || text.starts_with('-');
}

// What makes the rope check's comparison say nothing of the rope: no
// breaking force entered (the calculation then compares with 1E+08 N), no
// duty class chosen, a load or a breaking force that is no positive number.
struct RopeFindings {
    bool forceEntered = false;
    std::vector<std::string> caveats;
};

RopeFindings ropeFindings(const RunRecord& record)
{
    RopeFindings findings;
    const auto read = std::find_if(record.fieldsRead.begin(), record.fieldsRead.end(),
                                   [](const FieldRead& f) { return f.quantity == BreakingForce; });
    findings.forceEntered = read != record.fieldsRead.end() && valueText(read->value) != "0";
    const Variant* duty = record.finalValue(DutyFactor);
    if (!duty || duty->kind() == VariantKind::Empty)
        findings.caveats.emplace_back("режим работы не выбран (k = 0)");
    if (notPositive(record.finalValue(LoadWeight)))
        findings.caveats.emplace_back("вес груза не больше нуля");
    if (findings.forceEntered && notPositive(&read->value))
        findings.caveats.emplace_back("разрывное усилие меньше нуля");
    return findings;
}

std::string joined(const std::vector<std::string>& parts)
{
    std::string text;
    for (const std::string& part : parts)
        text += (text.empty() ? "" : "; ") + part;
    return text;
}

const std::string* verdictCaption(const RunRecord& record, const QuantityEntry** conclusion = nullptr)
{
    const QuantityEntry* entry = record.calculation ? entryWithRole(record.calculation->id, Role::Verdict) : nullptr;
    if (conclusion)
        *conclusion = entry;
    return entry ? record.finalCaption(entry->label) : nullptr;
}

} // namespace

std::string verdictOf(const RunRecord& record)
{
    const std::string* verdict = verdictCaption(record);
    const Variant* tension = record.finalValue(RopeTension);
    const Variant* compared = record.finalValue(ComparedBreakingForce);
    const Variant* force = record.finalValue(BreakingForce);
    if (!verdict || !tension || !compared || !force)
        return {};
    const RopeFindings findings = ropeFindings(record);
    if (!findings.forceEntered)
        return "Разрывное усилие не задано: канат не проверен";
    std::string text = "Fр = " + withUnit(valueText(*force), "Н");
    text += verdict->empty() ? " ≥ " : " < ";
    text += "Sмин = " + withUnit(valueText(*tension), "Н");
    text += verdict->empty() ? ": канат допустим" : ": канат не допустим";
    if (!findings.caveats.empty())
        text += ". Внимание: " + joined(findings.caveats) + " — вывод не подтверждает прочность каната";
    return text;
}

std::string verdictWords(const RunRecord& record)
{
    const QuantityEntry* conclusion = nullptr;
    const std::string* verdict = verdictCaption(record, &conclusion);
    if (!verdict)
        return {};
    const RopeFindings findings = ropeFindings(record);
    if (!findings.forceEntered)
        return std::string(conclusion->summaryWord) + " не проверен: разрывное усилие не задано";
    std::string words = std::string(conclusion->summaryWord) + " " + resultInWords(*conclusion, *verdict);
    if (!findings.caveats.empty())
        words += " (" + joined(findings.caveats) + ")";
    return words;
}

std::string resultTooltip(std::string_view label, const RunRecord* lastRun)
{
    const QuantityEntry* row = entryShownIn(label);
    if (!row)
        return {};
    const bool ran = lastRun && lastRun->calculation && lastRun->calculation->id == row->calculation;
    const std::string stopped
        = "расчёт остановлен, " + (ran && lastRun->error ? shortErrorText(*lastRun->error) : std::string());
    if (row->role == Role::Verdict) {
        if (!ran)
            return std::string(verdictRule);
        const std::string verdict = verdictOf(*lastRun);
        return verdict.empty() ? std::string(verdictRule) + " — не рассчитано: " + stopped : verdict;
    }
    if (!ran) {
        const RunRecord none;
        const RunValues values(none);
        const std::string symbol = values.symbols(row->symbol, true);
        const std::string inSymbols
            = row->formula.empty() ? symbol : symbol + " = " + values.symbols(row->formula, true);
        return withUnit(inSymbols + " — " + std::string(row->name) + (row->unit.empty() ? "" : ","), row->unit);
    }
    // The label tells what the run wrote into it: a value worked out but not
    // written, because an error came first, is not what the label shows.
    const QuantityLine line = lineOf(*row, *lastRun);
    const std::string* caption = lastRun->finalCaption(label);
    if (!caption)
        return line.reached ? line.substituted + " — в окно не записано: " + stopped
                            : line.inSymbols + " — не рассчитано: " + stopped;
    if (row->quantity == LayerCount && lastRun->error)
        return line.substituted + " — рассчитано слоёв: " + *caption + "; " + stopped;
    return line.substituted;
}

std::vector<LabelText> resultTooltips(CalculationId calculation, const RunRecord* lastRun)
{
    std::vector<LabelText> tooltips;
    for (const QuantityEntry& entry : catalogue())
        if (entry.calculation == calculation && !entry.label.empty())
            tooltips.push_back({entry.label, resultTooltip(entry.label, lastRun)});
    return tooltips;
}

} // namespace kalventa
