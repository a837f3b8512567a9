#include "core/rules_check_report.h"

#include "core/copied_results.h"

#include <algorithm>

namespace kalventa::rules {
namespace {

// The first letter in upper case: the Cyrillic and Latin small letters the
// check's names start with.
std::string capitalised(std::string_view name)
{
    std::string text(name);
    if (text.size() >= 2 && static_cast<unsigned char>(text[0]) == 0xD0) {
        auto second = static_cast<unsigned char>(text[1]);
        if (second >= 0xB0 && second <= 0xBF) // а … п
            text[1] = static_cast<char>(second - 0x20);
    } else if (text.size() >= 2 && static_cast<unsigned char>(text[0]) == 0xD1) {
        const auto second = static_cast<unsigned char>(text[1]);
        if (second >= 0x80 && second <= 0x8F) { // р … я
            text[0] = static_cast<char>(0xD0);
            text[1] = static_cast<char>(second + 0x20);
        }
    } else if (!text.empty() && text[0] >= 'a' && text[0] <= 'z') {
        text[0] = static_cast<char>(text[0] - 'a' + 'A');
    }
    return text;
}

std::string explained(const RulesQuantityEntry& entry)
{
    std::string text = std::string(entry.symbol) + " — " + std::string(entry.name);
    if (!entry.unit.empty())
        text.append(", ").append(entry.unit);
    return text;
}

// The lines of a part after its formulas: the verdict and the highest group,
// or what kept it from being worked out.
std::vector<std::string> verdictLines(const PartCheck& part)
{
    if (!part.problems.empty())
        return part.lines;
    return {part.lines.begin() + static_cast<std::ptrdiff_t>(part.formulas.size()), part.lines.end()};
}

std::string_view ropeKindWord(RopeKind kind)
{
    return kind == RopeKind::Running ? "бегучий" : "стоячий";
}

std::string groupText(int group)
{
    return group ? groupName(group) : "не выбрана";
}

} // namespace

RulesCheckNote makeRulesCheckNote(const CheckResult& check, int firstFormula)
{
    RulesCheckNote note;
    note.title = std::string(checkTitle);
    note.advisory = std::string(advisoryNote);
    note.warnings = check.warnings;
    note.inputs.push_back({capitalised(entryOf(RulesQuantity::Group).name),
                           {},
                           {},
                           "—",
                           groupText(check.inputs.group),
                           "введено в проверке",
                           {}});
    note.inputs.push_back({capitalised(entryOf(RulesQuantity::RopeKind).name),
                           {},
                           {},
                           "—",
                           std::string(ropeKindWord(check.inputs.rope)),
                           "введено в проверке",
                           {}});

    std::vector<std::string_view> explainedSymbols;
    const auto explain = [&](RulesQuantity quantity) {
        const RulesQuantityEntry entry = entryOf(quantity);
        if (entry.symbol.empty()
            || std::find(explainedSymbols.begin(), explainedSymbols.end(), entry.symbol) != explainedSymbols.end())
            return;
        explainedSymbols.push_back(entry.symbol);
        note.where.push_back(explained(entry));
    };

    int number = firstFormula;
    for (const PartCheck* part : {&check.rope, &check.drum}) {
        for (const TakenInput& input : part->inputs) {
            const RulesQuantityEntry entry = entryOf(input.quantity);
            note.inputs.push_back({capitalised(entry.name), std::string(entry.symbol), std::string(entry.unit),
                                   input.typed.empty() ? "—" : input.typed,
                                   input.value ? decimalText(*input.value) : "нет", input.origin, input.notice});
        }
        if (part->problems.empty()) {
            for (const std::string& formula : part->formulas)
                note.formulas.push_back({number++, formula});
            for (const WorkedOut& worked : part->worked)
                explain(worked.quantity);
            for (const TakenInput& input : part->inputs)
                explain(input.quantity);
        }
        for (std::string& line : verdictLines(*part))
            note.verdicts.push_back(std::move(line));
    }
    note.citations = check.citations;
    note.numbers = std::string(numbersNote);
    return note;
}

std::vector<CopiedRow> rulesCheckRows(const CheckResult& check)
{
    std::vector<CopiedRow> rows;
    rows.push_back({std::string(checkTitle) + " (справочно, не входит в исходную методику)", {}, {}});
    for (const std::string& warning : check.warnings)
        rows.push_back({"Внимание", warning, {}});
    rows.push_back({capitalised(entryOf(RulesQuantity::Group).name), groupText(check.inputs.group), {}});
    rows.push_back(
        {capitalised(entryOf(RulesQuantity::RopeKind).name), std::string(ropeKindWord(check.inputs.rope)), {}});
    struct Part {
        const PartCheck& check;
        std::string_view subject; // "по канату"
        std::string_view required;
        std::string_view unit;
    };
    const Part parts[] = {{check.rope, "по канату", "Требуемое разрывное усилие каната", "Н"},
                          {check.drum, "по барабану", "Требуемый диаметр барабана", "мм"}};
    for (const auto& [part, subject, required, unit] : parts) {
        for (const TakenInput& input : part.inputs) {
            const RulesQuantityEntry entry = entryOf(input.quantity);
            rows.push_back(
                {capitalised(entry.name), input.value ? decimalText(*input.value) : "нет", std::string(entry.unit)});
        }
        if (!part.problems.empty()) {
            rows.push_back({"Заключение " + std::string(subject), part.lines.front(), {}});
            continue;
        }
        for (const WorkedOut& worked : part.worked) {
            const RulesQuantityEntry entry = entryOf(worked.quantity);
            rows.push_back(
                {capitalised(entry.name), decimalText(worked.value, worked.rounding), std::string(entry.unit)});
        }
        if (part.verdict != Verdict::NotJudged)
            rows.push_back({"Заключение " + std::string(subject) + ", группа " + groupName(check.inputs.group),
                            part.verdict == Verdict::Met ? "требование выполнено" : "требование не выполнено",
                            {}});
        rows.push_back(
            {"Наивысшая группа " + std::string(subject), part.highestGroup ? groupName(part.highestGroup) : "нет", {}});
        if (part.required)
            rows.push_back({std::string(required), decimalText(*part.required, Rounding::Up), std::string(unit)});
    }
    return rows;
}

} // namespace kalventa::rules
