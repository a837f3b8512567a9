// The check against today's rules: the rule tables against their sources,
// the texts of its numbers, the verdicts at and around every boundary, the
// old method's duty classes and its 19·d drum against the groups, the inputs
// it lacks, the reeving, the notices it passes on, and the rule that expires.

#include "core/calculation_table.h"
#include "core/calculations.h"
#include "core/rules_check.h"
#include "core/rules_tables.h"
#include "core/run_history.h"
#include "memory_controls.h"

#include <QTest>

#include <map>
#include <string>
#include <vector>

using namespace kalventa;
using namespace kalventa::rules;
using kalventa::testing::MemoryControls;

using Entries = std::map<std::string, std::string>;
using Texts = std::vector<std::string>;
Q_DECLARE_METATYPE(Entries)
Q_DECLARE_METATYPE(Texts)
Q_DECLARE_METATYPE(CheckInputs)
Q_DECLARE_METATYPE(Rounding)

namespace {

// The values as the product owner copied them from the rules, M1 to M8.
const std::map<RuleTableId, Texts> fromTheRules{
    {RuleTableId::RopeRunning, {"3.15", "3.35", "3.55", "4.00", "4.50", "5.60", "7.10", "9.00"}},
    {RuleTableId::RopeStanding, {"2.50", "2.50", "3.00", "3.50", "4.00", "4.50", "5.00", "5.00"}},
    {RuleTableId::DrumRatio, {"11.2", "12.5", "14", "16", "18", "20", "22.4", "25"}},
    {RuleTableId::SheaveRatio, {"12.5", "14", "16", "18", "20", "22.4", "25", "28"}},
    {RuleTableId::EqualisingSheaveRatio, {"11.2", "12.5", "12.5", "14", "14", "16", "16", "18"}},
};
// The same, as numbers.
const std::map<RuleTableId, std::vector<double>> numbersFromTheRules{
    {RuleTableId::RopeRunning, {3.15, 3.35, 3.55, 4.00, 4.50, 5.60, 7.10, 9.00}},
    {RuleTableId::RopeStanding, {2.50, 2.50, 3.00, 3.50, 4.00, 4.50, 5.00, 5.00}},
    {RuleTableId::DrumRatio, {11.2, 12.5, 14, 16, 18, 20, 22.4, 25}},
    {RuleTableId::SheaveRatio, {12.5, 14, 16, 18, 20, 22.4, 25, 28}},
    {RuleTableId::EqualisingSheaveRatio, {11.2, 12.5, 12.5, 14, 14, 16, 16, 18}},
};

constexpr CalendarDate today{2026, 12, 8};

CheckInputs group(int g, RopeKind rope = RopeKind::Running)
{
    CheckInputs inputs;
    inputs.group = g;
    inputs.rope = rope;
    return inputs;
}

CheckResult check(const CheckInputs& inputs, const Entries& entries, CalendarDate on = today)
{
    MemoryControls window = MemoryControls::with(entries);
    const RunHistory none;
    return runCheck(inputs, window, none, on);
}

// A rope that carries 1000 kg on one fall: S = 1000 · 9.81 = 9810 Н.
Entries rope(const std::string& breakingForce)
{
    return {{"Text1", "1000"}, {"Text3", breakingForce}};
}

// A rule value in hundredths times 9810 N: tenths of a newton, written out
// exactly, so that Fр / S is the rule value itself.
std::string forceAtFactor(const std::string& factor)
{
    const std::string digits = factor.find('.') == std::string::npos
        ? factor + "00"
        : factor.substr(0, factor.find('.')) + factor.substr(factor.find('.') + 1);
    const long long tenths = std::stoll(digits) * 981;
    return std::to_string(tenths / 10) + "." + std::to_string(tenths % 10);
}

QStringList qt(const Texts& texts)
{
    QStringList out;
    for (const std::string& text : texts)
        out << QString::fromStdString(text);
    return out;
}

} // namespace

class RulesCheckTest : public QObject {
    Q_OBJECT

private slots:
    void tables_hold_the_rules_values_data()
    {
        QTest::addColumn<int>("table");
        QTest::newRow("Zp, running ropes") << int(RuleTableId::RopeRunning);
        QTest::newRow("Zp, standing ropes") << int(RuleTableId::RopeStanding);
        QTest::newRow("h1, drums") << int(RuleTableId::DrumRatio);
        QTest::newRow("h2, sheaves") << int(RuleTableId::SheaveRatio);
        QTest::newRow("h3, equalising sheaves") << int(RuleTableId::EqualisingSheaveRatio);
    }

    void tables_hold_the_rules_values()
    {
        QFETCH(int, table);
        const auto id = RuleTableId(table);
        const RuleTable& rules = ruleTable(id);
        for (int g = 1; g <= groupCount; ++g) {
            const auto i = std::size_t(g - 1);
            QCOMPARE(std::string(rules.forGroup(g).text), fromTheRules.at(id)[i]);
            QCOMPARE(rules.forGroup(g).value(), numbersFromTheRules.at(id)[i]);
        }
    }

    void tables_name_their_sources()
    {
        const RuleSource& fnp = *ruleTable(RuleTableId::RopeRunning).source;
        QCOMPARE(ruleTable(RuleTableId::RopeStanding).source, &fnp);
        QCOMPARE(QString::fromStdString(citation(ruleTable(RuleTableId::RopeRunning))),
                 QStringLiteral("Федеральные нормы и правила в области промышленной безопасности «Правила "
                                "безопасности опасных производственных объектов, на которых используются подъемные "
                                "сооружения», утверждены приказом Ростехнадзора от 26.11.2020 № 461, табл. 4 (те же "
                                "значения — ISO 4308-1 (ныне ISO 16625)); действует до 01.01.2027; значения сверены "
                                "08.12.2026"));
        QVERIFY(fnp.validUntil.has_value());
        QCOMPARE(dateText(*fnp.validUntil), std::string("01.01.2027"));
        for (const RuleTableId id :
             {RuleTableId::DrumRatio, RuleTableId::SheaveRatio, RuleTableId::EqualisingSheaveRatio})
            QCOMPARE(QString::fromStdString(citation(ruleTable(id))),
                     QStringLiteral("FEM 1.001 «Rules for the design of hoisting appliances», booklet 4, 3rd edition "
                                    "revised, 1998.10.01, табл. T.4.2.3.1.1; значения сверены 08.12.2026"));
    }

    void numbers_have_three_decimals_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<Rounding>("rounding");
        QTest::addColumn<QString>("text");
        QTest::newRow("whole") << 9810.0 << Rounding::Nearest << "9810";
        QTest::newRow("trailing zeros dropped") << 5.6 << Rounding::Nearest << "5.6";
        QTest::newRow("three decimals") << 4942.065491183885 << Rounding::Nearest << "4942.065";
        QTest::newRow("nearest, upwards") << 5.5999 << Rounding::Nearest << "5.6";
        QTest::newRow("down: short of 5.6 never shows 5.6") << 5.5999 << Rounding::Down << "5.599";
        QTest::newRow("down: the Double of 5.6 is 5.6") << 5.6 << Rounding::Down << "5.6";
        QTest::newRow("down: the next Double below 5.6") << 5.599999999999999 << Rounding::Down << "5.599";
        QTest::newRow("up: just above a thousandth") << 54936.0000001 << Rounding::Up << "54936.001";
        QTest::newRow("up: exact") << 256.8 << Rounding::Up << "256.8";
        QTest::newRow("up: carries into the units") << 19.9991 << Rounding::Up << "20";
        QTest::newRow("down: to zero") << 0.0004 << Rounding::Down << "0";
        QTest::newRow("negative zero") << -0.0 << Rounding::Nearest << "0";
        QTest::newRow("small negative") << -0.0004 << Rounding::Nearest << "0";
        QTest::newRow("negative") << -1.25 << Rounding::Down << "-1.25";
        QTest::newRow("negative, down") << -1.2501 << Rounding::Down << "-1.251";
        QTest::newRow("beyond fixed form") << 1.5e13 << Rounding::Nearest << "1.500e+13";
    }

    void numbers_have_three_decimals()
    {
        QFETCH(double, value);
        QFETCH(Rounding, rounding);
        QFETCH(QString, text);
        QCOMPARE(QString::fromStdString(decimalText(value, rounding)), text);
    }

    // Fр = Zp · 9810 exactly: the rope meets its group and every group below;
    // a newton less, it does not.
    void rope_at_every_boundary_data()
    {
        QTest::addColumn<int>("group");
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("force");
        QTest::addColumn<bool>("met");
        QTest::addColumn<int>("highest");
        for (const auto& [id, kind] : {std::pair{RuleTableId::RopeRunning, RopeKind::Running},
                                       std::pair{RuleTableId::RopeStanding, RopeKind::Standing}}) {
            const Texts& values = fromTheRules.at(id);
            for (int g = 1; g <= groupCount; ++g) {
                const std::string at = forceAtFactor(values[std::size_t(g - 1)]);
                // The groups with the same value as this one, from the lowest to the highest.
                int lowest = g;
                while (lowest > 1 && values[std::size_t(lowest - 2)] == values[std::size_t(g - 1)])
                    --lowest;
                int highest = g;
                while (highest < groupCount && values[std::size_t(highest)] == values[std::size_t(g - 1)])
                    ++highest;
                const std::string below
                    = std::to_string(std::stoll(at.substr(0, at.find('.'))) - 1) + at.substr(at.find('.'));
                const QByteArray name
                    = QByteArray(kind == RopeKind::Running ? "running" : "standing") + " M" + QByteArray::number(g);
                QTest::newRow(name + " at " + QByteArray(at.c_str()))
                    << g << int(kind) << QString::fromStdString(at) << true << highest;
                QTest::newRow(name + " a newton short")
                    << g << int(kind) << QString::fromStdString(below) << false << lowest - 1;
            }
        }
        QTest::newRow("Zp exactly 5.60 at M6") << 6 << int(RopeKind::Running) << "54936" << true << 6;
        QTest::newRow("Zp 5.5999 at M6") << 6 << int(RopeKind::Running) << "54935.019" << false << 5;
    }

    void rope_at_every_boundary()
    {
        QFETCH(int, group);
        QFETCH(int, kind);
        QFETCH(QString, force);
        QFETCH(bool, met);
        QFETCH(int, highest);
        const CheckResult result = check(::group(group, RopeKind(kind)), rope(force.toStdString()));
        QCOMPARE(result.rope.verdict, met ? Verdict::Met : Verdict::NotMet);
        QCOMPARE(result.rope.highestGroup, highest);
    }

    void rope_lines_data()
    {
        QTest::addColumn<CheckInputs>("inputs");
        QTest::addColumn<QString>("force");
        QTest::addColumn<Texts>("lines");
        QTest::newRow("Zp exactly 5.60 at M6")
            << group(6) << "54936"
            << Texts{"S = (Q + m) · 9.81 / (a · u · η) = (1000 + 0) · 9.81 / (1 · 1 · 1) = 9810 Н",
                     "Zp = Fр / S = 54936 / 9810 = 5.6",
                     "Группа M6, канат бегучий: Zp = 5.6 ≥ 5.60 — требование выполнено",
                     "Наивысшая группа, требованию которой канат отвечает: M6"};
        QTest::newRow("Zp 5.5999 at M6: the force it needs")
            << group(6) << "54935.019"
            << Texts{"S = (Q + m) · 9.81 / (a · u · η) = (1000 + 0) · 9.81 / (1 · 1 · 1) = 9810 Н",
                     "Zp = Fр / S = 54935.019 / 9810 = 5.599",
                     "Группа M6, канат бегучий: Zp = 5.599 < 5.60 — требование не выполнено; требуется Fр ≥ 5.60 · S = "
                     "54936 Н",
                     "Наивысшая группа, требованию которой канат отвечает: M5"};
        QTest::newRow("standing rope at M8")
            << group(8, RopeKind::Standing) << "49050"
            << Texts{"S = (Q + m) · 9.81 / (a · u · η) = (1000 + 0) · 9.81 / (1 · 1 · 1) = 9810 Н",
                     "Zp = Fр / S = 49050 / 9810 = 5", "Группа M8, канат стоячий: Zp = 5 ≥ 5.00 — требование выполнено",
                     "Наивысшая группа, требованию которой канат отвечает: M8"};
        QTest::newRow("no group chosen: nothing judged, the highest group told")
            << group(0) << "54936"
            << Texts{"S = (Q + m) · 9.81 / (a · u · η) = (1000 + 0) · 9.81 / (1 · 1 · 1) = 9810 Н",
                     "Zp = Fр / S = 54936 / 9810 = 5.6", "Группа механизма не выбрана: канат не оценивается",
                     "Наивысшая группа, требованию которой канат отвечает: M6"};
        QTest::newRow("below every group")
            << group(1) << "30000"
            << Texts{"S = (Q + m) · 9.81 / (a · u · η) = (1000 + 0) · 9.81 / (1 · 1 · 1) = 9810 Н",
                     "Zp = Fр / S = 30000 / 9810 = 3.058",
                     "Группа M1, канат бегучий: Zp = 3.058 < 3.15 — требование не выполнено; требуется Fр ≥ 3.15 · S = "
                     "30901.5 Н",
                     "Канат не отвечает требованию ни одной группы: Zp = 3.058 < 3.15"};
        CheckInputs reeved = group(6);
        reeved.reevingRatio = "2";
        QTest::newRow("two falls on rolling bearings")
            << reeved << "30000"
            << Texts{"η = (1 − ηб^u) / (u · (1 − ηб)) = (1 − 0.985^2) / (2 · (1 − 0.985)) = 0.992 (подшипники блоков "
                     "качения, ηб = 0.985)",
                     "S = (Q + m) · 9.81 / (a · u · η) = (1000 + 0) · 9.81 / (1 · 2 · 0.992) = 4942.065 Н",
                     "Zp = Fр / S = 30000 / 4942.065 = 6.07",
                     "Группа M6, канат бегучий: Zp = 6.07 ≥ 5.60 — требование выполнено",
                     "Наивысшая группа, требованию которой канат отвечает: M6"};
        CheckInputs plain = group(7);
        plain.reevingRatio = "4";
        plain.woundBranches = "2";
        plain.bearings = Bearings::Plain;
        plain.hookMass = "500";
        QTest::newRow("twin reeving of four on plain bearings, with the hook block")
            << plain << "100000"
            << Texts{"η = (1 − ηб^u) / (u · (1 − ηб)) = (1 − 0.95^4) / (4 · (1 − 0.95)) = 0.927 (подшипники блоков "
                     "скольжения, ηб = 0.95)",
                     "S = (Q + m) · 9.81 / (a · u · η) = (1000 + 500) · 9.81 / (2 · 4 · 0.927) = 1983.22 Н",
                     "Zp = Fр / S = 100000 / 1983.22 = 50.423",
                     "Группа M7, канат бегучий: Zp = 50.423 ≥ 7.10 — требование выполнено",
                     "Наивысшая группа, требованию которой канат отвечает: M8"};
        CheckInputs typed = group(6);
        typed.reevingRatio = "3";
        typed.efficiency = "0.9";
        QTest::newRow("efficiency as typed")
            << typed << "30000"
            << Texts{"S = (Q + m) · 9.81 / (a · u · η) = (1000 + 0) · 9.81 / (1 · 3 · 0.9) = 3633.333 Н",
                     "Zp = Fр / S = 30000 / 3633.333 = 8.256",
                     "Группа M6, канат бегучий: Zp = 8.256 ≥ 5.60 — требование выполнено",
                     "Наивысшая группа, требованию которой канат отвечает: M7"};
    }

    void rope_lines()
    {
        QFETCH(CheckInputs, inputs);
        QFETCH(QString, force);
        QFETCH(Texts, lines);
        QCOMPARE(qt(check(inputs, rope(force.toStdString())).rope.lines), qt(lines));
    }

    // The force the check asks for is enough: typed in, the rope meets the group.
    void the_force_asked_for_meets_the_group_data()
    {
        QTest::addColumn<CheckInputs>("inputs");
        QTest::addColumn<QString>("load");
        QTest::addColumn<QString>("required");
        CheckInputs two = group(6);
        two.reevingRatio = "2";
        QTest::newRow("two falls, M6") << two << "1000"
                                       << "27675.567";
        CheckInputs odd = group(8);
        odd.reevingRatio = "3";
        odd.woundBranches = "2";
        odd.bearings = Bearings::Plain;
        odd.hookMass = "123.4";
        QTest::newRow("odd load, M8") << odd << "7777.7"
                                      << "";
        QTest::newRow("one fall, M7") << group(7) << "1234.5"
                                      << "";
        QTest::newRow("standing, M5") << group(5, RopeKind::Standing) << "3333.3"
                                      << "";
    }

    void the_force_asked_for_meets_the_group()
    {
        QFETCH(CheckInputs, inputs);
        QFETCH(QString, load);
        QFETCH(QString, required);
        const CheckResult failing = check(inputs, {{"Text1", load.toStdString()}, {"Text3", "1"}});
        QCOMPARE(failing.rope.verdict, Verdict::NotMet);
        const std::string asked = decimalText(*failing.rope.required, Rounding::Up);
        if (!required.isEmpty())
            QCOMPARE(QString::fromStdString(asked), required);
        QCOMPARE(check(inputs, {{"Text1", load.toStdString()}, {"Text3", asked}}).rope.verdict, Verdict::Met);
        // A thousandth less is not enough.
        const std::string less = decimalText(*failing.rope.required - 0.001, Rounding::Nearest);
        QCOMPARE(check(inputs, {{"Text1", load.toStdString()}, {"Text3", less}}).rope.verdict, Verdict::NotMet);
    }

    // The old method's minimum tension Sмин = Q · k · 10 as the breaking force:
    // with g = 9.81 in S, Zp = 10 · k / 9.81.
    void old_duty_classes_against_each_group_data()
    {
        QTest::addColumn<QString>("option");
        QTest::addColumn<int>("group");
        QTest::addColumn<bool>("met");
        // The highest group each class's Zp meets: 4.587, 5.096, 5.606, 6.116.
        const std::pair<const char*, int> classes[] = {
            {"Option4", 5}, // traction, k = 4.5
            {"Option1", 5}, // light, k = 5
            {"Option2", 6}, // medium, k = 5.5: 5.606 ≥ 5.60
            {"Option3", 6}, // heavy, k = 6
        };
        for (const auto& [option, highest] : classes)
            for (int g = 1; g <= groupCount; ++g)
                QTest::newRow(QByteArray(option) + " M" + QByteArray::number(g)) << option << g << (g <= highest);
    }

    void old_duty_classes_against_each_group()
    {
        QFETCH(QString, option);
        QFETCH(int, group);
        QFETCH(bool, met);
        MemoryControls window = MemoryControls::with({{"Text1", "1000"}, {option.toStdString(), "on"}});
        ropeCheck(window);
        std::string tension = window.caption("Label3");
        tension.erase(0, 1); // the blank of the sign
        const CheckResult result = check(::group(group), rope(tension));
        QCOMPARE(result.rope.verdict, met ? Verdict::Met : Verdict::NotMet);
    }

    // A drum of 19 · d from the drum size limits: h1 = 20 to the rope's centre line.
    void drum_of_nineteen_rope_diameters_data()
    {
        QTest::addColumn<int>("group");
        QTest::addColumn<QString>("verdict");
        const char* const met[] = {"11.2", "12.5", "14", "16", "18", "20"};
        for (int g = 1; g <= 6; ++g)
            QTest::newRow(QByteArray("M") + QByteArray::number(g))
                << g << QStringLiteral("Группа M%1: h1 = 20 ≥ %2 — требование выполнено").arg(g).arg(met[g - 1]);
        QTest::newRow("M7") << 7
                            << "Группа M7: h1 = 20 < 22.4 — требование не выполнено; требуется D ≥ (22.4 − 1) · d = "
                               "256.8 мм";
        QTest::newRow("M8") << 8
                            << "Группа M8: h1 = 20 < 25 — требование не выполнено; требуется D ≥ (25 − 1) · d = 288 мм";
    }

    void drum_of_nineteen_rope_diameters()
    {
        QFETCH(int, group);
        QFETCH(QString, verdict);
        MemoryControls window = MemoryControls::with({{"Text2", "12"}});
        RunHistory history;
        history.add(recordRun(calculation(CalculationId::DrumSizeLimits), window));
        const CheckResult result = runCheck(::group(group), window, history, today);
        QCOMPARE(qt(result.drum.lines),
                 (QStringList{"h1 = (Dмин + d) / d = (228 + 12) / 12 = 20", verdict,
                              "Наивысшая группа, требованию которой барабан отвечает: M6"}));
        QCOMPARE(result.drum.inputs.size(), 2u);
        QCOMPARE(result.drum.inputs[0].origin, std::string("расчёт допустимых размеров барабана"));
        QVERIFY(result.warnings.empty());

        // The same drum typed into the rope capacity's fields.
        MemoryControls fields = MemoryControls::with({{"Text4", "228"}, {"Text6", "12"}});
        const CheckResult typed = runCheck(::group(group), fields, RunHistory{}, today);
        QCOMPARE(QString::fromStdString(typed.drum.lines.at(0)), "h1 = (D + d) / d = (228 + 12) / 12 = 20");
        QCOMPARE(QString::fromStdString(typed.drum.lines.at(1)), verdict);
    }

    void drum_from_the_rope_capacity_once_it_ran()
    {
        MemoryControls window
            = MemoryControls::with({{"Text2", "12"}, {"Text4", "300"}, {"Text6", "12"}, {"Text5", "600"}});
        RunHistory history;
        history.add(recordRun(calculation(CalculationId::DrumSizeLimits), window));
        history.add(recordRun(calculation(CalculationId::RopeCapacity), window));
        // The field, as it stands now, not as the run read it.
        window.texts["Text4"] = "288";
        const CheckResult result = runCheck(group(8), window, history, today);
        QCOMPARE(QString::fromStdString(result.drum.lines.at(0)), "h1 = (D + d) / d = (288 + 12) / 12 = 25");
        QCOMPARE(result.drum.verdict, Verdict::Met);
    }

    void a_changed_limits_run_is_marked()
    {
        MemoryControls window = MemoryControls::with({{"Text2", "12"}});
        RunHistory history;
        history.add(recordRun(calculation(CalculationId::DrumSizeLimits), window));
        history.inputChanged("Text2", controlState("13"));
        const CheckResult result = runCheck(group(6), window, history, today);
        QCOMPARE(
            qt(result.warnings),
            QStringList{"Dмин взят из расчёта допустимых размеров барабана: исходные данные изменены после расчёта"});
    }

    void missing_and_unusable_inputs_are_named_data()
    {
        QTest::addColumn<CheckInputs>("inputs");
        QTest::addColumn<Entries>("entries");
        QTest::addColumn<QString>("rope");
        QTest::addColumn<QString>("drum");
        QTest::newRow("an empty window")
            << group(6) << Entries{}
            << "Канат не проверен: нет исходных данных: вес груза Q (поле окна «Вес груза, кг, для расчёта каната»); "
               "нет "
               "исходных данных: разрывное усилие каната Fр (поле окна «Разрывное усилие каната, Н»)"
            << "Барабан не проверен: нет исходных данных: диаметр барабана D (поле окна «Диаметр барабана, мм»); нет "
               "исходных данных: диаметр каната d (поле окна «Диаметр каната d, мм»)";
        QTest::newRow("blanks are no input")
            << group(6) << Entries{{"Text1", "  "}, {"Text3", "54936"}, {"Text4", "228"}, {"Text6", "\t"}}
            << "Канат не проверен: нет исходных данных: вес груза Q (поле окна «Вес груза, кг, для расчёта каната»)"
            << "Барабан не проверен: нет исходных данных: диаметр каната d (поле окна «Диаметр каната d, мм»)";
        QTest::newRow("zero and negative")
            << group(6) << Entries{{"Text1", "0"}, {"Text3", "-5"}, {"Text4", "228"}, {"Text6", "0"}}
            << "Канат не проверен: вес груза Q: нужно число больше 0; разрывное усилие каната Fр: нужно число больше 0"
            << "Барабан не проверен: диаметр каната d: нужно число больше 0";
        QTest::newRow("a number beyond the Double range")
            << group(6) << Entries{{"Text1", "1e400"}, {"Text3", "54936"}, {"Text4", "228"}, {"Text6", "12"}}
            << "Канат не проверен: вес груза Q: число слишком велико"
            << "";
        CheckInputs huge = group(6);
        huge.reevingRatio = "1e300";
        QTest::newRow("a reeving beyond a hundred falls")
            << huge << Entries{{"Text1", "1000"}, {"Text3", "54936"}}
            << "Канат не проверен: кратность полиспаста u: нужно целое число от 1 до 100"
            << "";
        CheckInputs reeving = group(6);
        reeving.reevingRatio = "1.5";
        reeving.woundBranches = "0";
        reeving.efficiency = "1.2";
        reeving.hookMass = "-1";
        QTest::newRow("the reeving's rules")
            << reeving << Entries{{"Text1", "1000"}, {"Text3", "54936"}}
            << "Канат не проверен: масса крюковой подвески m: нужно число не меньше 0; кратность полиспаста u: нужно "
               "целое число от 1 до 100; число ветвей каната, навиваемых на барабан a: нужно целое число от 1 до 100; "
               "КПД полиспаста η: нужно число больше 0 и не больше 1"
            << "Барабан не проверен: нет исходных данных: диаметр барабана D (поле окна «Диаметр барабана, мм»); нет "
               "исходных данных: диаметр каната d (поле окна «Диаметр каната d, мм»)";
    }

    void missing_and_unusable_inputs_are_named()
    {
        QFETCH(CheckInputs, inputs);
        QFETCH(Entries, entries);
        QFETCH(QString, rope);
        QFETCH(QString, drum);
        const CheckResult result = check(inputs, entries);
        QCOMPARE(result.rope.verdict, Verdict::NotJudged);
        QCOMPARE(QString::fromStdString(result.rope.lines.at(0)), rope);
        QCOMPARE(result.rope.lines.size(), 1u);
        if (!drum.isEmpty()) {
            QCOMPARE(qt(result.drum.lines), QStringList{drum});
            QCOMPARE(result.drum.verdict, Verdict::NotJudged);
        }
    }

    void a_misread_input_is_taken_as_the_old_method_takes_it_and_said()
    {
        const CheckResult result = check(group(6), rope("54936,5"));
        QCOMPARE(result.rope.verdict, Verdict::Met);
        QCOMPARE(QString::fromStdString(result.rope.lines.at(1)), "Zp = Fр / S = 54936 / 9810 = 5.6");
        QCOMPARE(result.rope.inputs.at(1).quantity, RulesQuantity::BreakingForce);
        QCOMPARE(QString::fromStdString(result.rope.inputs.at(1).notice),
                 "Прочитано как 54936: запятая не входит в число. Для 54936,5 введите 54936.5");
        QVERIFY(QString::fromStdString(result.summary).endsWith("; ввод прочитан не полностью: Fр"));
    }

    void summary_data()
    {
        QTest::addColumn<CheckInputs>("inputs");
        QTest::addColumn<Entries>("entries");
        QTest::addColumn<QString>("summary");
        QTest::newRow("both met")
            << group(6) << Entries{{"Text1", "1000"}, {"Text3", "54936"}, {"Text4", "228"}, {"Text6", "12"}}
            << "Проверка по действующим правилам, группа M6: канат: выполнено, Zp 5.6 ≥ 5.60, наивысшая группа M6; "
               "барабан: выполнено, h1 20 ≥ 20, наивысшая группа M6";
        QTest::newRow("both short")
            << group(7) << Entries{{"Text1", "1000"}, {"Text3", "54936"}, {"Text4", "228"}, {"Text6", "12"}}
            << "Проверка по действующим правилам, группа M7: канат: не выполнено, Zp 5.6 < 7.10, требуется Fр ≥ 69651 "
               "Н, наивысшая группа M6; барабан: не выполнено, h1 20 < 22.4, требуется D ≥ 256.8 мм, наивысшая группа "
               "M6";
        QTest::newRow("no group")
            << group(0) << Entries{{"Text1", "1000"}, {"Text3", "54936"}}
            << "Проверка по действующим правилам, группа не выбрана: канат: Zp 5.6, наивысшая группа M6; барабан не "
               "проверен: нет исходных данных: диаметр барабана D (поле окна «Диаметр барабана, мм»), нет исходных "
               "данных: диаметр каната d (поле окна «Диаметр каната d, мм»)";
    }

    void summary()
    {
        QFETCH(CheckInputs, inputs);
        QFETCH(Entries, entries);
        QFETCH(QString, summary);
        QCOMPARE(QString::fromStdString(check(inputs, entries).summary), summary);
    }

    void the_rules_expire_on_the_stored_date_data()
    {
        QTest::addColumn<int>("year");
        QTest::addColumn<int>("month");
        QTest::addColumn<int>("day");
        QTest::addColumn<bool>("expired");
        QTest::newRow("the day the values were checked") << 2026 << 12 << 8 << false;
        QTest::newRow("the last day") << 2026 << 12 << 31 << false;
        QTest::newRow("the stored date") << 2027 << 1 << 1 << true;
        QTest::newRow("a year on") << 2028 << 1 << 1 << true;
    }

    void the_rules_expire_on_the_stored_date()
    {
        QFETCH(int, year);
        QFETCH(int, month);
        QFETCH(int, day);
        QFETCH(bool, expired);
        const CheckResult result = check(group(6), rope("54936"), {year, month, day});
        const QString warning = QStringLiteral(
            "срок действия ФНП по сохранённым сведениям истёк 01.01.2027: проверьте действующую редакцию");
        QCOMPARE(qt(result.warnings), expired ? QStringList{warning} : QStringList{});
        QCOMPARE(QString::fromStdString(result.summary).endsWith("; " + warning), expired);
        // The verdict stays; the warning stands before it.
        QCOMPARE(result.rope.verdict, Verdict::Met);
    }

    void the_checks_own_controls_are_read_by_name()
    {
        MemoryControls nothing;
        const CheckInputs none = readInputs(nothing);
        QCOMPARE(none.group, 0);
        QCOMPARE(none.rope, RopeKind::Running);
        QCOMPARE(none.bearings, Bearings::Rolling);
        QCOMPARE(nothing.reads,
                 (std::vector<std::string>{"rulesGroup", "rulesStanding", "rulesReevingRatio", "rulesWoundBranches",
                                           "rulesEfficiency", "rulesPlain", "rulesHookMass"}));
        MemoryControls chosen;
        chosen.listIndexes["rulesGroup"] = 7;
        chosen.values["rulesStanding"] = -1;
        chosen.values["rulesPlain"] = -1;
        chosen.texts = {{"rulesReevingRatio", "4"},
                        {"rulesWoundBranches", "2"},
                        {"rulesEfficiency", "0.9"},
                        {"rulesHookMass", "150"}};
        const CheckInputs all = readInputs(chosen);
        QCOMPARE(all.group, 8);
        QCOMPARE(all.rope, RopeKind::Standing);
        QCOMPARE(all.bearings, Bearings::Plain);
        QCOMPARE(all.reevingRatio + "|" + all.woundBranches + "|" + all.efficiency + "|" + all.hookMass,
                 std::string("4|2|0.9|150"));
    }

    void the_whole_check_as_text()
    {
        CheckInputs inputs = group(8, RopeKind::Standing);
        inputs.hookMass = "250";
        const CheckResult result
            = check(inputs, {{"Text1", "1000"}, {"Text3", "61312,5"}, {"Text4", "300"}, {"Text6", "12"}}, {2027, 3, 1});
        QCOMPARE(
            qt(resultText(result)),
            (QStringList{
                "Внимание: срок действия ФНП по сохранённым сведениям истёк 01.01.2027: проверьте действующую "
                "редакцию",
                "Канат",
                "  S = (Q + m) · 9.81 / (a · u · η) = (1000 + 250) · 9.81 / (1 · 1 · 1) = 12262.5 Н",
                "  Zp = Fр / S = 61312 / 12262.5 = 4.999",
                "  Группа M8, канат стоячий: Zp = 4.999 < 5.00 — требование не выполнено; требуется Fр ≥ 5.00 · S "
                "= 61312.5 Н",
                "  Наивысшая группа, требованию которой канат отвечает: M6",
                "Барабан",
                "  h1 = (D + d) / d = (300 + 12) / 12 = 26",
                "  Группа M8: h1 = 26 ≥ 25 — требование выполнено",
                "  Наивысшая группа, требованию которой барабан отвечает: M8",
                "Исходные данные",
                "  группа механизма M8",
                "  канат стоячий",
                "  Q = 1000 кг — вес груза, поле расчёта каната",
                "  Fр = 61312 Н — разрывное усилие каната, поле расчёта каната",
                "    Прочитано как 61312: запятая не входит в число. Для 61312,5 введите 61312.5",
                "  m = 250 кг — масса крюковой подвески, введено в проверке",
                "  u = 1 — кратность полиспаста, по умолчанию",
                "  a = 1 — число ветвей каната, навиваемых на барабан, по умолчанию",
                "  η = 1 — КПД полиспаста, по умолчанию при u = 1",
                "  D = 300 мм — диаметр барабана, поле расчёта канатоёмкости",
                "  d = 12 мм — диаметр каната, поле расчёта канатоёмкости",
                "Основания",
                "  Zp: Федеральные нормы и правила в области промышленной безопасности «Правила безопасности опасных "
                "производственных объектов, на которых используются подъемные сооружения», утверждены приказом "
                "Ростехнадзора от 26.11.2020 № 461, табл. 4 (те же значения — ISO 4308-1 (ныне ISO 16625)); "
                "действует до 01.01.2027; значения сверены 08.12.2026",
                "  h1: FEM 1.001 «Rules for the design of hoisting appliances», booklet 4, 3rd edition revised, "
                "1998.10.01, табл. T.4.2.3.1.1; значения сверены 08.12.2026",
                "Числа проверки — обычные числа двойной точности с тремя знаками после точки; с числами исходной "
                "методики они не связаны и её результатов не меняют.",
            }));
        // An input without a value says so.
        QCOMPARE(inputLine(check(group(1), {}).rope.inputs.at(0)), std::string("Q — вес груза: нет"));
    }
};

QTEST_MAIN(RulesCheckTest)
#include "rules_check_test.moc"
