#include "core/rules_check.h"

#include "core/decimal_conversion.h"
#include "core/input_notice.h"
#include "core/run_history.h"
#include "core/text_to_number.h"

#include <fmt/format.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <functional>

namespace kalventa::rules {
namespace {

constexpr double gravity = 9.81; // m/s², for the force of a mass in kilograms
constexpr double rollingBearingPulley = 0.985;
constexpr double plainBearingPulley = 0.95;
// Beyond this a result is shown in exponent form, and a requirement is not
// searched for to the last decimal.
constexpr double fixedLimit = 1e12;

// ---- Three decimals -------------------------------------------------------

std::string trimmed(std::string text)
{
    if (text.find('.') != std::string::npos) {
        while (text.back() == '0')
            text.pop_back();
        if (text.back() == '.')
            text.pop_back();
    }
    return text == "-0" ? "0" : text;
}

// A fixed text of three decimals as a whole number of thousandths, and back.
std::int64_t thousandthsOf(std::string_view text)
{
    std::string digits;
    for (const char c : text)
        if (c != '.')
            digits += c;
    std::int64_t count = 0;
    std::from_chars(digits.data(), digits.data() + digits.size(), count);
    return count;
}

std::string textOfThousandths(std::int64_t count)
{
    const bool negative = count < 0;
    std::string digits = fmt::format("{:04d}", negative ? -count : count);
    digits.insert(digits.size() - 3, 1, '.');
    return negative ? "-" + digits : digits;
}

double valueOfThousandths(std::int64_t count)
{
    return decimalToDouble(textOfThousandths(count));
}

// The least number of three decimals near `estimate` that `meets` the rule,
// as the Double nearest to it.
double leastMeeting(double estimate, const std::function<bool(double)>& meets)
{
    if (!(std::fabs(estimate) < fixedLimit))
        return estimate;
    std::int64_t count = thousandthsOf(fmt::format("{:.3f}", estimate));
    for (int tries = 0; tries < 1000 && !meets(valueOfThousandths(count)); ++tries)
        ++count;
    for (int tries = 0; tries < 1000 && meets(valueOfThousandths(count - 1)); ++tries)
        --count;
    return valueOfThousandths(count);
}

// ---- Reading inputs ---------------------------------------------------------

bool blank(std::string_view text)
{
    return std::all_of(text.begin(), text.end(), [](char c) { return c == ' ' || c == '\t'; });
}

std::string named(const RulesQuantityEntry& entry)
{
    std::string text(entry.name);
    if (!entry.symbol.empty())
        text.append(" ").append(entry.symbol);
    return text;
}

enum class Rule { Positive, NotNegative, WholeFromOne, Fraction };

std::string_view ruleWords(Rule rule)
{
    switch (rule) {
    case Rule::Positive: return "нужно число больше 0";
    case Rule::NotNegative: return "нужно число не меньше 0";
    case Rule::WholeFromOne: return "нужно целое число от 1 до 100";
    case Rule::Fraction: return "нужно число больше 0 и не больше 1";
    }
    return {};
}

bool obeys(double value, Rule rule)
{
    switch (rule) {
    case Rule::Positive: return value > 0;
    case Rule::NotNegative: return value >= 0;
    case Rule::WholeFromOne: return value >= 1 && value <= 100 && value == std::floor(value);
    case Rule::Fraction: return value > 0 && value <= 1;
    }
    return false;
}

// Takes one input from its text. A blank text takes the default where there is
// one; otherwise the input is missing. A number beyond the range, or one that
// breaks its rule, cannot be used.
TakenInput take(PartCheck& part, RulesQuantity quantity, const std::string& text, std::string origin, Rule rule,
                std::optional<double> ifBlank = std::nullopt)
{
    const RulesQuantityEntry entry = entryOf(quantity);
    TakenInput input{quantity, text, std::nullopt, std::move(origin), {}};
    if (blank(text)) {
        input.typed.clear();
        if (ifBlank) {
            input.value = ifBlank;
            input.origin = "по умолчанию";
        } else {
            std::string where;
            if (entry.window)
                where = " (поле окна «" + std::string(entry.spoken) + "»)";
            part.problems.push_back("нет исходных данных: " + named(entry) + where);
        }
        part.inputs.push_back(input);
        return input;
    }
    const NumberReading reading = readNumber(text);
    input.notice = misreadNotice(text, reading);
    if (reading.overflow || !std::isfinite(reading.value))
        part.problems.push_back(named(entry) + ": число слишком велико");
    else if (!obeys(reading.value, rule))
        part.problems.push_back(named(entry) + ": " + std::string(ruleWords(rule)));
    else
        input.value = reading.value;
    part.inputs.push_back(input);
    return input;
}

std::string origin(CalculationId calculation)
{
    switch (calculation) {
    case CalculationId::RopeCheck: return "поле расчёта каната";
    case CalculationId::DrumSizeLimits: return "расчёт допустимых размеров барабана";
    case CalculationId::RopeCapacity: return "поле расчёта канатоёмкости";
    }
    return {};
}

std::string windowText(Controls& window, RulesQuantity quantity)
{
    return window.text(entryOf(quantity).window->controls[0]);
}

// ---- The verdicts -------------------------------------------------------------

int highestGroupMet(const RuleTable& table, double value)
{
    int highest = 0;
    for (int group = 1; group <= groupCount; ++group)
        if (value >= table.forGroup(group).value())
            highest = group;
    return highest;
}

// How a part's lines name what it checks.
struct Thing {
    std::string_view subject;    // "канат"
    std::string_view capital;    // "Канат"
    std::string_view groupWords; // what follows the group: ", канат бегучий"
};

// What a part says of its value against the chosen group and of the highest
// group met.
void judge(PartCheck& part, int group, const Thing& thing)
{
    const RuleTable& table = *part.table;
    const double value = *part.value;
    const std::string shown = std::string(table.symbol) + " = " + decimalText(value, Rounding::Down);
    part.highestGroup = highestGroupMet(table, value);
    if (group == 0) {
        part.lines.push_back("Группа механизма не выбрана: " + std::string(thing.subject) + " не оценивается");
    } else {
        const RuleValue& minimum = table.forGroup(group);
        part.minimum = std::string(minimum.text);
        part.verdict = value >= minimum.value() ? Verdict::Met : Verdict::NotMet;
        part.lines.push_back("Группа " + groupName(group) + std::string(thing.groupWords) + ": " + shown
                             + (part.verdict == Verdict::Met ? " ≥ " : " < ") + part.minimum + " — "
                             + (part.verdict == Verdict::Met ? "требование выполнено" : "требование не выполнено"));
    }
    if (part.highestGroup > 0)
        part.lines.push_back("Наивысшая группа, требованию которой " + std::string(thing.subject)
                             + " отвечает: " + groupName(part.highestGroup));
    else
        part.lines.push_back(std::string(thing.capital) + " не отвечает требованию ни одной группы: " + shown + " < "
                             + std::string(table.forGroup(1).text));
}

// A part that could not be worked out says why, and nothing else.
bool stopsFor(PartCheck& part, std::string_view capital)
{
    if (part.problems.empty())
        return false;
    std::string line = std::string(capital) + " не проверен: ";
    for (std::size_t i = 0; i < part.problems.size(); ++i)
        line.append(i ? "; " : "").append(part.problems[i]);
    part.lines.push_back(line);
    return true;
}

// ---- The rope -------------------------------------------------------------------

// The reeving's efficiency from u and the pulleys' bearings:
// η = (1 − ηб^u) / (u · (1 − ηб)), the power by repeated products.
double reevingEfficiency(int u, double pulley)
{
    double power = 1;
    for (int i = 0; i < u; ++i)
        power *= pulley;
    return (1 - power) / (u * (1 - pulley));
}

void checkRope(PartCheck& rope, const CheckInputs& inputs, Controls& window)
{
    using enum RulesQuantity;
    const std::string fromRopeCheck = origin(CalculationId::RopeCheck);
    const std::string typedHere = "введено в проверке";
    const TakenInput Q = take(rope, LoadWeight, windowText(window, LoadWeight), fromRopeCheck, Rule::Positive);
    const TakenInput F = take(rope, BreakingForce, windowText(window, BreakingForce), fromRopeCheck, Rule::Positive);
    const TakenInput m = take(rope, HookMass, inputs.hookMass, typedHere, Rule::NotNegative, 0.0);
    const TakenInput u = take(rope, ReevingRatio, inputs.reevingRatio, typedHere, Rule::WholeFromOne, 1.0);
    const TakenInput a = take(rope, WoundBranches, inputs.woundBranches, typedHere, Rule::WholeFromOne, 1.0);
    TakenInput eta{Efficiency, {}, std::nullopt, {}, {}};
    if (!blank(inputs.efficiency)) {
        eta = take(rope, Efficiency, inputs.efficiency, typedHere, Rule::Fraction);
    } else if (u.value) {
        // Worked out from u and the bearings of the pulleys.
        const int ratio = static_cast<int>(*u.value);
        const double pulley = inputs.bearings == Bearings::Rolling ? rollingBearingPulley : plainBearingPulley;
        const std::string bearings
            = inputs.bearings == Bearings::Rolling ? "подшипники блоков качения" : "подшипники блоков скольжения";
        if (ratio == 1) {
            eta.value = 1.0;
            eta.origin = "по умолчанию при u = 1";
        } else {
            eta.value = reevingEfficiency(ratio, pulley);
            eta.origin = "по кратности, " + bearings;
            rope.inputs.push_back({PulleyEfficiency, {}, pulley, bearings, {}});
            rope.formulas.push_back("η = (1 − ηб^u) / (u · (1 − ηб)) = (1 − " + decimalText(pulley) + "^"
                                    + decimalText(ratio) + ") / (" + decimalText(ratio) + " · (1 − "
                                    + decimalText(pulley) + ")) = " + decimalText(*eta.value) + " (" + bearings
                                    + ", ηб = " + decimalText(pulley) + ")");
        }
        rope.inputs.push_back(eta);
    }
    rope.table = &ruleTable(inputs.rope == RopeKind::Running ? RuleTableId::RopeRunning : RuleTableId::RopeStanding);
    if (stopsFor(rope, "Канат"))
        return;

    const double S = (*Q.value + *m.value) * gravity / (*a.value * *u.value * *eta.value);
    rope.formulas.push_back("S = (Q + m) · 9.81 / (a · u · η) = (" + decimalText(*Q.value) + " + "
                            + decimalText(*m.value) + ") · 9.81 / (" + decimalText(*a.value) + " · "
                            + decimalText(*u.value) + " · " + decimalText(*eta.value) + ") = " + decimalText(S) + " Н");
    const double Zp = *F.value / S;
    rope.value = Zp;
    rope.worked = {{RopeForce, S, Rounding::Nearest}, {SafetyFactor, Zp, Rounding::Down}};
    rope.formulas.push_back("Zp = Fр / S = " + decimalText(*F.value) + " / " + decimalText(S) + " = "
                            + decimalText(Zp, Rounding::Down));
    rope.lines = rope.formulas;
    const std::string_view kind = inputs.rope == RopeKind::Running ? ", канат бегучий" : ", канат стоячий";
    judge(rope, inputs.group, {"канат", "Канат", kind});
    if (rope.verdict == Verdict::NotMet) {
        const double minimum = decimalToDouble(rope.minimum);
        rope.required = leastMeeting(minimum * S, [&](double force) { return force / S >= minimum; });
        rope.lines[rope.lines.size() - 2]
            += "; требуется Fр ≥ " + rope.minimum + " · S = " + decimalText(*rope.required, Rounding::Up) + " Н";
    }
}

// ---- The drum -------------------------------------------------------------------

void checkDrum(PartCheck& drum, const CheckInputs& inputs, Controls& window, const RunHistory& history,
               std::vector<std::string>& warnings)
{
    using enum RulesQuantity;
    const RunRecord* limits = history.lastRun(CalculationId::DrumSizeLimits);
    const bool fromLimits = limits && !history.lastRun(CalculationId::RopeCapacity);
    std::optional<double> D;
    std::optional<double> d;
    std::string Dsymbol = "D";
    if (fromLimits) {
        // The run's own values: Dмин as worked out, d as that run read it.
        const std::string run = origin(CalculationId::DrumSizeLimits);
        const Variant* minimum = limits->finalValue(Quantity::MinDrumDiameter);
        TakenInput Dmin{MinDrumDiameter, {}, std::nullopt, run, {}};
        if (minimum)
            Dmin.value = minimum->toDouble();
        else
            drum.problems.push_back("расчёт допустимых размеров барабана остановлен до "
                                    + named(entryOf(MinDrumDiameter)));
        TakenInput rope{LimitsRopeDiameter, {}, std::nullopt, run, {}};
        for (const FieldRead& read : limits->fieldsRead)
            if (read.quantity == Quantity::RopeDiameter) {
                rope.typed = read.typed;
                rope.notice = read.notice;
                rope.value = read.value.toDouble();
            }
        if (rope.value && !(*rope.value > 0)) {
            drum.problems.push_back(named(entryOf(LimitsRopeDiameter)) + ": " + std::string(ruleWords(Rule::Positive)));
            rope.value.reset();
        }
        if (Dmin.value && !(*Dmin.value > 0 && std::isfinite(*Dmin.value))) {
            drum.problems.push_back(named(entryOf(MinDrumDiameter)) + ": " + std::string(ruleWords(Rule::Positive)));
            Dmin.value.reset();
        }
        drum.inputs = {Dmin, rope};
        D = Dmin.value;
        d = rope.value;
        Dsymbol = entryOf(MinDrumDiameter).symbol;
        if (history.stale(CalculationId::DrumSizeLimits))
            warnings.push_back("Dмин взят из расчёта допустимых размеров барабана: " + std::string(staleMark));
    } else {
        const std::string fields = origin(CalculationId::RopeCapacity);
        D = take(drum, DrumDiameter, windowText(window, DrumDiameter), fields, Rule::Positive).value;
        d = take(drum, RopeDiameter, windowText(window, RopeDiameter), fields, Rule::Positive).value;
    }
    drum.table = &ruleTable(RuleTableId::DrumRatio);
    if (stopsFor(drum, "Барабан"))
        return;

    const double h1 = (*D + *d) / *d;
    drum.value = h1;
    drum.worked = {{DiameterRatio, h1, Rounding::Down}};
    drum.formulas.push_back("h1 = (" + Dsymbol + " + d) / d = (" + decimalText(*D) + " + " + decimalText(*d) + ") / "
                            + decimalText(*d) + " = " + decimalText(h1, Rounding::Down));
    drum.lines = drum.formulas;
    judge(drum, inputs.group, {"барабан", "Барабан", ""});
    if (drum.verdict == Verdict::NotMet) {
        const double minimum = decimalToDouble(drum.minimum);
        const double ropeDiameter = *d;
        drum.required = leastMeeting((minimum - 1) * ropeDiameter, [&](double diameter) {
            return (diameter + ropeDiameter) / ropeDiameter >= minimum;
        });
        drum.lines[drum.lines.size() - 2]
            += "; требуется D ≥ (" + drum.minimum + " − 1) · d = " + decimalText(*drum.required, Rounding::Up) + " мм";
    }
}

// ---- The summary ------------------------------------------------------------------

std::string partSummary(const PartCheck& part, std::string_view subject, std::string_view requiredSymbol,
                        std::string_view unit)
{
    std::string text(subject);
    if (!part.problems.empty()) {
        text += " не проверен: ";
        for (std::size_t i = 0; i < part.problems.size(); ++i)
            text.append(i ? ", " : "").append(part.problems[i]);
        return text;
    }
    const std::string value = std::string(part.table->symbol) + " " + decimalText(*part.value, Rounding::Down);
    switch (part.verdict) {
    case Verdict::NotJudged: text += ": " + value; break;
    case Verdict::Met: text += ": выполнено, " + value + " ≥ " + part.minimum; break;
    case Verdict::NotMet:
        text += ": не выполнено, " + value + " < " + part.minimum + ", требуется " + std::string(requiredSymbol) + " ≥ "
            + decimalText(*part.required, Rounding::Up) + " " + std::string(unit);
        break;
    }
    return text + (part.highestGroup > 0 ? ", наивысшая группа " + groupName(part.highestGroup) : ", ни одной группы");
}

std::string misreadSummary(const CheckResult& result)
{
    std::string names;
    for (const PartCheck* part : {&result.rope, &result.drum})
        for (const TakenInput& input : part->inputs)
            if (!input.notice.empty())
                names.append(names.empty() ? "" : ", ").append(entryOf(input.quantity).symbol);
    return names.empty() ? names : "ввод прочитан не полностью: " + names;
}

constexpr std::array controls{
    CheckControl{RulesQuantity::Group,
                 ControlKind::List,
                 "Группа классификации механизма:",
                 {"rulesGroup"},
                 {},
                 "не выбрана"},
    CheckControl{RulesQuantity::RopeKind,
                 ControlKind::Options,
                 "Канат:",
                 {"rulesRunning", "rulesStanding"},
                 {"бегучий", "стоячий"}},
    CheckControl{RulesQuantity::ReevingRatio,
                 ControlKind::Field,
                 "Кратность полиспаста u:",
                 {"rulesReevingRatio"},
                 {},
                 "1"},
    CheckControl{RulesQuantity::WoundBranches,
                 ControlKind::Field,
                 "Ветвей каната на барабан a:",
                 {"rulesWoundBranches"},
                 {},
                 "1"},
    CheckControl{RulesQuantity::Efficiency,
                 ControlKind::Field,
                 "КПД полиспаста η:",
                 {"rulesEfficiency"},
                 {},
                 "по u и подшипникам"},
    CheckControl{RulesQuantity::PulleyBearings,
                 ControlKind::Options,
                 "Подшипники блоков:",
                 {"rulesRolling", "rulesPlain"},
                 {"качения, ηб = 0.985", "скольжения, ηб = 0.95"}},
    CheckControl{RulesQuantity::HookMass,
                 ControlKind::Field,
                 "Масса крюковой подвески m, кг:",
                 {"rulesHookMass"},
                 {},
                 "0"},
};

} // namespace

std::span<const CheckControl> checkControls()
{
    return controls;
}

CheckInputs readInputs(Controls& window)
{
    CheckInputs inputs;
    for (const CheckControl& control : controls) {
        const std::string_view name = control.names[0];
        switch (control.quantity) {
        case RulesQuantity::Group: inputs.group = window.listIndex(name) + 1; break;
        case RulesQuantity::RopeKind:
            inputs.rope = window.value(control.names[1]) ? RopeKind::Standing : RopeKind::Running;
            break;
        case RulesQuantity::PulleyBearings:
            inputs.bearings = window.value(control.names[1]) ? Bearings::Plain : Bearings::Rolling;
            break;
        case RulesQuantity::ReevingRatio: inputs.reevingRatio = window.text(name); break;
        case RulesQuantity::WoundBranches: inputs.woundBranches = window.text(name); break;
        case RulesQuantity::Efficiency: inputs.efficiency = window.text(name); break;
        case RulesQuantity::HookMass: inputs.hookMass = window.text(name); break;
        default: break;
        }
    }
    return inputs;
}

std::string decimalText(double value, Rounding rounding)
{
    if (std::isnan(value))
        return "не число";
    if (std::isinf(value))
        return value > 0 ? "∞" : "−∞";
    if (std::fabs(value) >= fixedLimit)
        return fmt::format("{:.3e}", value);
    std::string text = fmt::format("{:.3f}", value);
    if (rounding != Rounding::Nearest) {
        const double shown = decimalToDouble(text);
        if (rounding == Rounding::Down && shown > value)
            text = textOfThousandths(thousandthsOf(text) - 1);
        else if (rounding == Rounding::Up && shown < value)
            text = textOfThousandths(thousandthsOf(text) + 1);
    }
    return trimmed(text);
}

CheckResult runCheck(const CheckInputs& inputs, Controls& window, const RunHistory& history, CalendarDate today)
{
    CheckResult result;
    result.inputs = inputs;
    checkRope(result.rope, inputs, window);
    checkDrum(result.drum, inputs, window, history, result.warnings);
    for (const RuleTable* table : {result.rope.table, result.drum.table}) {
        result.citations.push_back(std::string(table->symbol) + ": " + citation(*table));
        if (const std::string warning = validityWarning(*table->source, today); !warning.empty())
            result.warnings.insert(result.warnings.begin(), warning);
    }

    std::string summary = std::string(checkTitle);
    summary += inputs.group ? ", группа " + groupName(inputs.group) : ", группа не выбрана";
    summary
        += ": " + partSummary(result.rope, "канат", "Fр", "Н") + "; " + partSummary(result.drum, "барабан", "D", "мм");
    for (const std::string& warning : result.warnings)
        summary += "; " + warning;
    if (const std::string misread = misreadSummary(result); !misread.empty())
        summary += "; " + misread;
    result.summary = summary;
    return result;
}

std::string inputLine(const TakenInput& input)
{
    const RulesQuantityEntry entry = entryOf(input.quantity);
    std::string text(entry.symbol.empty() ? entry.name : entry.symbol);
    if (!input.value)
        return text.append(" — ").append(entry.name).append(": нет");
    text.append(" = ").append(decimalText(*input.value));
    if (!entry.unit.empty())
        text.append(" ").append(entry.unit);
    return text.append(" — ").append(entry.name).append(", ").append(input.origin);
}

std::vector<std::string> resultText(const CheckResult& result)
{
    std::vector<std::string> lines;
    for (const std::string& warning : result.warnings)
        lines.push_back("Внимание: " + warning);
    const std::pair<const PartCheck*, const char*> parts[] = {{&result.rope, "Канат"}, {&result.drum, "Барабан"}};
    for (const auto& [part, heading] : parts) {
        lines.emplace_back(heading);
        for (const std::string& line : part->lines)
            lines.push_back("  " + line);
    }
    lines.emplace_back("Исходные данные");
    if (result.inputs.group)
        lines.push_back("  группа механизма " + groupName(result.inputs.group));
    lines.push_back(result.inputs.rope == RopeKind::Running ? "  канат бегучий" : "  канат стоячий");
    for (const auto& [part, heading] : parts)
        for (const TakenInput& input : part->inputs) {
            lines.push_back("  " + inputLine(input));
            if (!input.notice.empty())
                lines.push_back("    " + input.notice);
        }
    lines.emplace_back("Основания");
    for (const std::string& citation : result.citations)
        lines.push_back("  " + citation);
    lines.emplace_back(numbersNote);
    return lines;
}

} // namespace kalventa::rules
