// The check against today's rules as the report's last section and as rows
// of the copied results: the inputs as typed and taken, the formulas numbered
// on from the report's, the symbols explained, the verdicts, the rules cited,
// and a part that could not be worked out.

#include "core/copied_results.h"
#include "core/rules_check_report.h"
#include "core/run_history.h"
#include "memory_controls.h"

#include <QTest>

#include <string>
#include <vector>

using namespace kalventa;
using namespace kalventa::rules;
using kalventa::testing::MemoryControls;

namespace {

// Three falls on rolling bearings with a hook block, group M7: the rope falls
// short of M7, the drum meets it.
CheckResult reevedCheck(CalendarDate today = {2026, 12, 8})
{
    CheckInputs inputs;
    inputs.group = 7;
    inputs.reevingRatio = "3";
    inputs.hookMass = "100";
    MemoryControls window
        = MemoryControls::with({{"Text1", "2000"}, {"Text3", "40000"}, {"Text4", "400"}, {"Text6", "16"}});
    return runCheck(inputs, window, RunHistory{}, today);
}

QStringList qt(const std::vector<std::string>& texts)
{
    QStringList out;
    for (const std::string& text : texts)
        out << QString::fromStdString(text);
    return out;
}

} // namespace

class RulesCheckReportTest : public QObject {
    Q_OBJECT

private slots:
    void the_note_of_a_check()
    {
        const RulesCheckNote note = makeRulesCheckNote(reevedCheck(), 5);
        QCOMPARE(note.title, std::string("Проверка по действующим правилам"));
        QCOMPARE(note.advisory,
                 std::string("Справочная проверка по действующим правилам — не входит в исходную методику"));
        QVERIFY(note.warnings.empty());

        QStringList inputs;
        for (const NoteInput& input : note.inputs)
            inputs << QString::fromStdString(input.name + "|" + input.symbol + "|" + input.unit + "|" + input.typed
                                             + "|" + input.taken + "|" + input.origin + "|" + input.notice);
        QCOMPARE(inputs,
                 (QStringList{
                     "Группа классификации механизма|||—|M7|введено в проверке|",
                     "Канат|||—|бегучий|введено в проверке|",
                     "Вес груза|Q|кг|2000|2000|поле расчёта каната|",
                     "Разрывное усилие каната|Fр|Н|40000|40000|поле расчёта каната|",
                     "Масса крюковой подвески|m|кг|100|100|введено в проверке|",
                     "Кратность полиспаста|u||3|3|введено в проверке|",
                     "Число ветвей каната, навиваемых на барабан|a||—|1|по умолчанию|",
                     "КПД одного блока|ηб||—|0.985|подшипники блоков качения|",
                     "КПД полиспаста|η||—|0.985|по кратности, подшипники блоков качения|",
                     "Диаметр барабана|D|мм|400|400|поле расчёта канатоёмкости|",
                     "Диаметр каната|d|мм|16|16|поле расчёта канатоёмкости|",
                 }));

        QStringList formulas;
        for (const NoteFormula& formula : note.formulas)
            formulas << QStringLiteral("(%1) ").arg(formula.number) + QString::fromStdString(formula.text);
        QCOMPARE(formulas,
                 (QStringList{
                     "(5) η = (1 − ηб^u) / (u · (1 − ηб)) = (1 − 0.985^3) / (3 · (1 − 0.985)) = 0.985 "
                     "(подшипники блоков качения, ηб = 0.985)",
                     "(6) S = (Q + m) · 9.81 / (a · u · η) = (2000 + 100) · 9.81 / (1 · 3 · 0.985) = 6971.043 Н",
                     "(7) Zp = Fр / S = 40000 / 6971.043 = 5.738",
                     "(8) h1 = (D + d) / d = (400 + 16) / 16 = 26",
                 }));
        QCOMPARE(qt(note.where),
                 (QStringList{
                     "S — наибольшее натяжение ветви каната, Н",
                     "Zp — коэффициент запаса прочности каната",
                     "Q — вес груза, кг",
                     "Fр — разрывное усилие каната, Н",
                     "m — масса крюковой подвески, кг",
                     "u — кратность полиспаста",
                     "a — число ветвей каната, навиваемых на барабан",
                     "ηб — КПД одного блока",
                     "η — КПД полиспаста",
                     "h1 — отношение диаметра барабана по оси каната к диаметру каната",
                     "D — диаметр барабана, мм",
                     "d — диаметр каната, мм",
                 }));
        QCOMPARE(qt(note.verdicts),
                 (QStringList{
                     "Группа M7, канат бегучий: Zp = 5.738 < 7.10 — требование не выполнено; "
                     "требуется Fр ≥ 7.10 · S = 49494.404 Н",
                     "Наивысшая группа, требованию которой канат отвечает: M6",
                     "Группа M7: h1 = 26 ≥ 22.4 — требование выполнено",
                     "Наивысшая группа, требованию которой барабан отвечает: M8",
                 }));
        QCOMPARE(note.citations.size(), 2u);
        QVERIFY(note.citations[0].starts_with("Zp: Федеральные нормы и правила"));
        QVERIFY(note.citations[1].starts_with("h1: FEM 1.001"));
    }

    void the_note_after_the_rules_expired()
    {
        const RulesCheckNote note = makeRulesCheckNote(reevedCheck({2027, 1, 1}), 1);
        QCOMPARE(
            qt(note.warnings),
            QStringList{"срок действия ФНП по сохранённым сведениям истёк 01.01.2027: проверьте действующую редакцию"});
        QCOMPARE(note.formulas.front().number, 1);
    }

    void a_part_not_worked_out_has_no_formulas()
    {
        CheckInputs inputs;
        inputs.reevingRatio = "2";
        MemoryControls window = MemoryControls::with({{"Text1", "1000"}, {"Text4", "228"}, {"Text6", "12"}});
        const RulesCheckNote note = makeRulesCheckNote(runCheck(inputs, window, RunHistory{}, {2026, 12, 8}), 3);
        QStringList formulas;
        for (const NoteFormula& formula : note.formulas)
            formulas << QStringLiteral("(%1) ").arg(formula.number) + QString::fromStdString(formula.text);
        QCOMPARE(formulas, QStringList{"(3) h1 = (D + d) / d = (228 + 12) / 12 = 20"});
        QCOMPARE(qt(note.verdicts),
                 (QStringList{
                     "Канат не проверен: нет исходных данных: разрывное усилие каната Fр (поле окна "
                     "«Разрывное усилие каната, Н»)",
                     "Группа механизма не выбрана: барабан не оценивается",
                     "Наивысшая группа, требованию которой барабан отвечает: M6",
                 }));
        QCOMPARE(qt(note.where),
                 (QStringList{"h1 — отношение диаметра барабана по оси каната к диаметру каната",
                              "D — диаметр барабана, мм", "d — диаметр каната, мм"}));
        QCOMPARE(note.inputs.at(0).taken, std::string("не выбрана"));
        QCOMPARE(note.inputs.at(3).taken, std::string("нет"));
    }

    void the_copied_rows()
    {
        QStringList rows;
        for (const CopiedRow& row : rulesCheckRows(reevedCheck({2027, 2, 1})))
            rows << QString::fromStdString(row.quantity + "|" + row.value + "|" + row.unit);
        QCOMPARE(rows,
                 (QStringList{
                     "Проверка по действующим правилам (справочно, не входит в исходную методику)||",
                     "Внимание|срок действия ФНП по сохранённым сведениям истёк 01.01.2027: проверьте "
                     "действующую редакцию|",
                     "Группа классификации механизма|M7|",
                     "Канат|бегучий|",
                     "Вес груза|2000|кг",
                     "Разрывное усилие каната|40000|Н",
                     "Масса крюковой подвески|100|кг",
                     "Кратность полиспаста|3|",
                     "Число ветвей каната, навиваемых на барабан|1|",
                     "КПД одного блока|0.985|",
                     "КПД полиспаста|0.985|",
                     "Наибольшее натяжение ветви каната|6971.043|Н",
                     "Коэффициент запаса прочности каната|5.738|",
                     "Заключение по канату, группа M7|требование не выполнено|",
                     "Наивысшая группа по канату|M6|",
                     "Требуемое разрывное усилие каната|49494.404|Н",
                     "Диаметр барабана|400|мм",
                     "Диаметр каната|16|мм",
                     "Отношение диаметра барабана по оси каната к диаметру каната|26|",
                     "Заключение по барабану, группа M7|требование выполнено|",
                     "Наивысшая группа по барабану|M8|",
                 }));
        // In the HTML table only the check's heading spans the row.
        const std::string html = asHtmlTable(rulesCheckRows(reevedCheck()));
        QVERIFY(html.find("<tr><th colspan=\"3\">Проверка по действующим правилам (справочно, не входит в исходную "
                          "методику)</th></tr>")
                != std::string::npos);
        QVERIFY(html.find("<tr><td>Наивысшая группа по барабану</td><td>M8</td><td></td></tr>") != std::string::npos);
    }
};

QTEST_MAIN(RulesCheckReportTest)
#include "rules_check_report_test.moc"
