#include "core/rules_tables.h"

#include "core/decimal_conversion.h"

#include <algorithm>
#include <stdexcept>

namespace kalventa::rules {
namespace {

constexpr RuleSource liftingRules{
    "Федеральные нормы и правила в области промышленной безопасности «Правила безопасности опасных "
    "производственных объектов, на которых используются подъемные сооружения»",
    "ФНП",
    "табл. 4",
    "утверждены приказом Ростехнадзора от 26.11.2020 № 461",
    CalendarDate{2027, 1, 1},
    CalendarDate{2026, 12, 8},
    "те же значения — ISO 4308-1 (ныне ISO 16625)",
};

// ГОСТ 33710-2015 has the same classification; its table is not cited until
// it has been compared with this one.
constexpr RuleSource femRules{
    "FEM 1.001 «Rules for the design of hoisting appliances», booklet 4",
    "FEM 1.001",
    "табл. T.4.2.3.1.1",
    "3rd edition revised, 1998.10.01",
    std::nullopt,
    CalendarDate{2026, 12, 8},
};

using V = RuleValue;

const std::array tables{
    RuleTable{RuleTableId::RopeRunning,
              "Zp",
              "минимальный коэффициент запаса прочности бегучего каната",
              {V{"3.15"}, V{"3.35"}, V{"3.55"}, V{"4.00"}, V{"4.50"}, V{"5.60"}, V{"7.10"}, V{"9.00"}},
              &liftingRules},
    RuleTable{RuleTableId::RopeStanding,
              "Zp",
              "минимальный коэффициент запаса прочности стоячего каната",
              {V{"2.50"}, V{"2.50"}, V{"3.00"}, V{"3.50"}, V{"4.00"}, V{"4.50"}, V{"5.00"}, V{"5.00"}},
              &liftingRules},
    RuleTable{RuleTableId::DrumRatio,
              "h1",
              "наименьшее отношение диаметра барабана к диаметру каната",
              {V{"11.2"}, V{"12.5"}, V{"14"}, V{"16"}, V{"18"}, V{"20"}, V{"22.4"}, V{"25"}},
              &femRules},
    RuleTable{RuleTableId::SheaveRatio,
              "h2",
              "наименьшее отношение диаметра блока к диаметру каната",
              {V{"12.5"}, V{"14"}, V{"16"}, V{"18"}, V{"20"}, V{"22.4"}, V{"25"}, V{"28"}},
              &femRules},
    RuleTable{RuleTableId::EqualisingSheaveRatio,
              "h3",
              "наименьшее отношение диаметра уравнительного блока к диаметру каната",
              {V{"11.2"}, V{"12.5"}, V{"12.5"}, V{"14"}, V{"14"}, V{"16"}, V{"16"}, V{"18"}},
              &femRules},
};

void appendTwoDigits(std::string& text, int number)
{
    text += static_cast<char>('0' + number / 10 % 10);
    text += static_cast<char>('0' + number % 10);
}

} // namespace

std::string dateText(CalendarDate date)
{
    std::string text;
    appendTwoDigits(text, date.day);
    text += '.';
    appendTwoDigits(text, date.month);
    text += '.';
    appendTwoDigits(text, date.year / 100);
    appendTwoDigits(text, date.year % 100);
    return text;
}

std::string groupName(int group)
{
    std::string name = "M";
    name += static_cast<char>('0' + group);
    return name;
}

double RuleValue::value() const
{
    return decimalToDouble(text);
}

std::span<const RuleTable> ruleTables()
{
    return tables;
}

const RuleTable& ruleTable(RuleTableId id)
{
    const auto it = std::find_if(tables.begin(), tables.end(), [id](const RuleTable& t) { return t.id == id; });
    if (it == tables.end())
        throw std::invalid_argument("no rule table");
    return *it;
}

bool expired(const RuleSource& source, CalendarDate today)
{
    return source.validUntil && today >= *source.validUntil;
}

std::string citation(const RuleTable& table)
{
    const RuleSource& source = *table.source;
    std::string text
        = std::string(source.document) + ", " + std::string(source.edition) + ", " + std::string(source.clause);
    if (!source.remark.empty())
        text.append(" (").append(source.remark).append(")");
    if (source.validUntil)
        text.append("; действует до ").append(dateText(*source.validUntil));
    return text.append("; значения сверены ").append(dateText(source.checked));
}

std::string validityWarning(const RuleSource& source, CalendarDate today)
{
    if (!expired(source, today))
        return {};
    return "срок действия " + std::string(source.shortName) + " по сохранённым сведениям истёк "
        + dateText(*source.validUntil) + ": проверьте действующую редакцию";
}

} // namespace kalventa::rules
