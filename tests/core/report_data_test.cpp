// How a result was obtained, from a run's record: the formulas on the result
// labels before and after runs and errors, the calculation report's data, the
// results as copied to the clipboard, and the history of runs with the runs
// whose inputs changed afterwards.

#include "core/calculation_table.h"
#include "core/copied_results.h"
#include "core/formulas.h"
#include "core/report.h"
#include "core/run_history.h"
#include "memory_controls.h"
#include "window/layout_table.h"

#include <QTest>

#include <algorithm>

#include <map>
#include <string>
#include <vector>

using namespace kalventa;
using kalventa::testing::MemoryControls;

using Entries = std::map<std::string, std::string>;
Q_DECLARE_METATYPE(Entries)

namespace {

RunRecord run(const char* button, const Entries& entries)
{
    MemoryControls window = MemoryControls::with(entries);
    return recordRun(*calculationOf(button), window);
}

const Entries ropeCheckExample{{"Text1", "1000"}, {"Text3", "50000"}, {"Option2", "on"}};
const Entries capacityExample{{"Text4", "400"}, {"Text5", "800"}, {"Text6", "15"},  {"Text7", "5000"},
                              {"Combo1", "2"},  {"Combo2", "0"},  {"Option5", "on"}};
// The pitch diameter leaves the Currency range in the second layer.
// Five layers of a fractional rope: the Currency and Single roundings show.
const Entries capacityFiveLayers{{"Text4", "16777.3"}, {"Text5", "3000.3"}, {"Text6", "1.1"}, {"Text7", "99999"},
                                 {"Combo1", "4"},      {"Combo2", "0"},     {"Option6", "on"}};
const Entries capacityStoppedInLayerTwo{{"Text4", "562949953421312"}, {"Text6", "140737488355328"}, {"Combo1", "1"}};
// The second layer's pitch and flange are worked out; its length leaves the
// Currency range.
const Entries capacityStoppedAtLayerTwoLength{{"Text4", "5.86e13"}, {"Text5", "5e14"}, {"Text6", "1e11"},
                                              {"Text7", "1"},       {"Combo1", "1"},   {"Option6", "on"}};

QStringList texts(const std::vector<std::string>& lines)
{
    QStringList out;
    for (const std::string& line : lines)
        out << QString::fromStdString(line);
    return out;
}

} // namespace

class ReportDataTest : public QObject {
    Q_OBJECT

private slots:
    void result_tooltips_data()
    {
        QTest::addColumn<QString>("button"); // empty: before any run
        QTest::addColumn<Entries>("entries");
        QTest::addColumn<QString>("label");
        QTest::addColumn<QString>("tooltip");
        const Entries none;
        QTest::newRow("before a run: the formula in symbols") << "" << none << "Label8"
                                                              << "Dмин = 19 · d — минимальный диаметр барабана, мм";
        QTest::newRow("before a run: the layers in symbols") << "" << none << "Label21"
                                                             << "F = PN + d + 2 · d · Y — диаметр реборды, мм";
        QTest::newRow("before a run: a count has no unit") << "" << none << "Label16"
                                                           << "n = ⌊L / d⌋ — число витков в слое";
        QTest::newRow("before a run: the verdict's rule")
            << "" << none << "Label6"
            << "Канат не допустим, если Fр < Sмин: разрывное усилие каната меньше минимального допустимого натяжения";
        QTest::newRow("drum diameter") << "Command2" << Entries{{"Text2", "12"}} << "Label8"
                                       << "Dмин = 19 · d = 19 · 12 = 228 мм";
        QTest::newRow("negative operands in brackets") << "Command2" << Entries{{"Text2", "-3"}} << "Label10"
                                                       << "Lмакс = 3 · Dмин = 3 · (-57) = -171 мм";
        QTest::newRow("Double tension with 15 digits")
            << "Command1" << Entries{{"Text1", "8.3"}, {"Option2", "on"}} << "Label3"
            << "Sмин = Q · k · 10 = 8.3 (одинарная точность: 8.30000019073486328125) · 5.5 · 10 = 456.500010490417 Н";
        QTest::newRow("verdict, not permissible") << "Command1" << ropeCheckExample << "Label6"
                                                  << "Fр = 50000 Н < Sмин = 55000 Н: канат не допустим";
        // No rope is called admissible that was compared with no force entered.
        QTest::newRow("verdict, no breaking force entered")
            << "Command1" << Entries{{"Text1", "1000"}, {"Option1", "on"}} << "Label6"
            << "Разрывное усилие не задано: канат не проверен";
        QTest::newRow("verdict, no duty class")
            << "Command1" << Entries{{"Text1", "1000"}, {"Text3", "50000"}} << "Label6"
            << "Fр = 50000 Н ≥ Sмин = 0 Н: канат допустим. Внимание: режим работы не выбран (k = 0) — вывод не "
               "подтверждает прочность каната";
        QTest::newRow("verdict, no load and a negative force")
            << "Command1" << Entries{{"Text3", "-1"}, {"Option3", "on"}} << "Label6"
            << "Fр = -1 Н < Sмин = 0 Н: канат не допустим. Внимание: вес груза не больше нуля; разрывное усилие "
               "меньше нуля — вывод не подтверждает прочность каната";
        QTest::newRow("turns") << "Command3" << capacityExample << "Label16"
                               << "n = ⌊L / d⌋ = ⌊800 / 15⌋ = 53";
        QTest::newRow("leftover") << "Command3" << capacityExample << "Label12"
                                  << "g = L − n · d = 800 − 53 · 15 = 5 мм";
        QTest::newRow("flange of the top layer") << "Command3" << capacityExample << "Label21"
                                                 << "F = P3 + d + 2 · d · Y = 475 + 15 + 2 · 15 · 1.5 = 535 мм";
        QTest::newRow("rope capacity without the allowance")
            << "Command3" << capacityExample << "Label19"
            << "S = l1 + l2 + l3 = 69.0993 + 74.0944 + 79.0895 = 222.2832 м";
        QTest::newRow("rope capacity")
            << "Command3" << capacityExample << "Label20"
            << "Sк = 0.9 · S = 0.9 · 222.2832 (одинарная точность: 222.283203125) = 200.0549 м";
        QTest::newRow("rope capacity: S taken with its Single digits")
            << "Command3" << Entries{{"Text4", "400"}, {"Text5", "800"}, {"Text6", "0"}, {"Text7", "5000"}} << "Label20"
            << "Sк = 0.9 · S = 0.9 · 1007.822 (одинарная точность: 1007.82208251953125) = 907.0399 м";
        QTest::newRow("rope capacity: the Single the product is narrowed to")
            << "Command3" << capacityFiveLayers << "Label20"
            << "Sк = 0.9 · S = 0.9 · 718900.9 (одинарная точность: 718900.9375) = 647010.84375 → 647010.875 (округлено "
               "до "
               "одинарной точности) = 647010.9 м";
        QTest::newRow("turns: the quotient rounded to 4 decimals before the floor")
            << "Command3" << Entries{{"Text5", "499.9999"}, {"Text6", "10"}} << "Label16"
            << "n = ⌊L / d⌋ = ⌊499.9999 (одинарная точность: 499.999908447265625) / 10⌋ = ⌊49.9999908447266 → 50.0000 "
               "(округлено до 4 знаков)⌋ = 50";
        QTest::newRow("leftover: L and n · d rounded to 4 decimals")
            << "Command3" << capacityFiveLayers << "Label12"
            << "g = L − n · d = 3000.3 (одинарная точность: 3000.300048828125) − 2727 · 1.1 (одинарная точность: "
               "1.10000002384185791015625) = 3000.300048828125 → 3000.3000 (округлено до 4 знаков) − "
               "2999.70006501674652099609375 → 2999.7001 (округлено до 4 знаков) = .5999 мм";
        QTest::newRow("wall thickness") << "Command3" << capacityExample << "Label23"
                                        << "t = ⌈Q / ([σ] · d)⌉ = ⌈5000 / (14 · 15)⌉ = 24 мм";
        QTest::newRow("layers") << "Command3" << capacityExample << "Label18"
                                << "N = 3";
        QTest::newRow("nothing chosen: one layer, stress 1")
            << "Command3" << Entries{{"Text4", "400"}, {"Text5", "800"}, {"Text6", "15"}, {"Text7", "5000"}}
            << "Label23"
            << "t = ⌈Q / ([σ] · d)⌉ = ⌈5000 / (1 · 15)⌉ = 334 мм";
        QTest::newRow("error before the label")
            << "Command3" << Entries{{"Text5", "327675"}, {"Text6", "10"}} << "Label16"
            << "n = ⌊L / d⌋ — не рассчитано: расчёт остановлен, переполнение (число витков в слое)";
        QTest::newRow("error before the layers: the flange in symbols")
            << "Command3" << Entries{{"Text5", "327675"}, {"Text6", "10"}} << "Label21"
            << "F = PN + d + 2 · d · Y — не рассчитано: расчёт остановлен, переполнение (число витков в слое)";
        QTest::newRow("error after the layer labels: the flange of layer one")
            << "Command3" << capacityStoppedInLayerTwo << "Label21"
            << "F = P1 + d + 2 · d · Y = 703687441776640 + 1.407375E+14 (одинарная точность: 140737488355328) + 2 · "
               "1.407375E+14 (одинарная точность: 140737488355328) · 0 = 844424930131968 мм";
        QTest::newRow("error after the layer labels: the layers written")
            << "Command3" << capacityStoppedInLayerTwo << "Label18"
            << "N = 2 — рассчитано слоёв: 1; расчёт остановлен, переполнение (диаметр навивки слоя)";
        QTest::newRow("error: a worked-out value not yet written")
            << "Command3" << capacityStoppedInLayerTwo << "Label16"
            << "n = ⌊L / d⌋ = ⌊0 / 1.407375E+14 (одинарная точность: 140737488355328)⌋ = 0 — в окно не записано: "
               "расчёт остановлен, переполнение (диаметр навивки слоя)";
        QTest::newRow("error in a layer's length: the flange of the layer written, not of the one stopped")
            << "Command3" << capacityStoppedAtLayerTwoLength << "Label21"
            << "F = P1 + d + 2 · d · Y = 58700001705984 + 1E+11 (одинарная точность: 99999997952) + 2 · 1E+11 "
               "(одинарная точность: 99999997952) · 2 = 59200001695744 мм";
        QTest::newRow("error in a layer's length: the total of the complete layers, not written")
            << "Command3" << capacityStoppedAtLayerTwoLength << "Label19"
            << "S = l1 = 922056691797511.3728 = 9.220567E+14 м — в окно не записано: расчёт остановлен, переполнение "
               "(длина каната в слое)";
        QTest::newRow("another calculation's run says nothing of this label")
            << "Command2" << Entries{{"Text2", "12"}} << "Label3"
            << "Sмин = Q · k · 10 — минимальное допустимое натяжение каната, Н";
    }

    void result_tooltips()
    {
        QFETCH(QString, button);
        QFETCH(Entries, entries);
        QFETCH(QString, label);
        QFETCH(QString, tooltip);
        if (button.isEmpty()) {
            QCOMPARE(QString::fromStdString(resultTooltip(label.toStdString(), nullptr)), tooltip);
            return;
        }
        const RunRecord record = run(button.toLatin1().constData(), entries);
        QCOMPARE(QString::fromStdString(resultTooltip(label.toStdString(), &record)), tooltip);
    }

    void report_of_a_full_rope_capacity_run()
    {
        const RunRecord record = run("Command3", capacityExample);
        const ReportRun runs[] = {{&record, false}};
        // The choices named as the window shows them.
        const Report report
            = makeReport(runs, "Кальвента 1.3.0", "08.12.2026 10:00",
                         [](std::string_view control, int item) { return std::string(ui::choiceText(control, item)); });
        QCOMPARE(QString::fromStdString(report.title), "Расчётная записка");
        QCOMPARE(report.sections.size(), 1u);
        const ReportSection& section = report.sections.front();
        QCOMPARE(QString::fromStdString(section.title), "Расчёт канатоёмкости");
        QStringList inputs;
        for (const ReportInput& input : section.inputs)
            inputs << QString::fromStdString(input.symbol + "|" + input.name + "|" + input.unit + "|" + input.typed
                                             + "|" + input.read);
        QCOMPARE(inputs,
                 (QStringList{"D|Диаметр барабана|мм|400|400", "L|Длина барабана|мм|800|800",
                              "d|Диаметр каната|мм|15|15", "Q|Вес груза|кг|5000|5000", "N|Число слоёв каната||3|3",
                              "[σ]|Допускаемое напряжение материала барабана|кг/мм²|Сталь. сварн.(1400 кг/см2)|14",
                              "Y|Размер Y в диаметрах каната||1,5d|1.5"}));
        QStringList formulas;
        for (const ReportFormula& formula : section.formulas)
            formulas << QString("(%1) ").arg(formula.number) + QString::fromStdString(formula.text);
        QCOMPARE(formulas,
                 (QStringList{
                     "(1) n = ⌊L / d⌋ = ⌊800 / 15⌋ = 53",
                     "(2) g = L − n · d = 800 − 53 · 15 = 5 мм",
                     "(3) P3 = D + d + 2 · d · (3 − 1) = 400 + 15 + 2 · 15 · 2 = 475 мм",
                     "(4) F = P3 + d + 2 · d · Y = 475 + 15 + 2 · 15 · 1.5 = 535 мм",
                     "(5) l3 = 3.14159 · P3 · n / 1000 = 3.14159 · 475 · 53 / 1000 = 79.0895 м",
                     "(6) S = l1 + l2 + l3 = 69.0993 + 74.0944 + 79.0895 = 222.2832 м",
                     "(7) Sк = 0.9 · S = 0.9 · 222.2832 (одинарная точность: 222.283203125) = 200.0549 м",
                     "(8) t = ⌈Q / ([σ] · d)⌉ = ⌈5000 / (14 · 15)⌉ = 24 мм",
                 }));
        QVERIFY(texts(section.where).contains("t — толщина стенки барабана, мм"));
        QStringList layers;
        for (const ReportLayer& layer : section.layers)
            layers << QString::fromStdString(layer.layer + " " + layer.pitchDiameter + " " + layer.flangeDiameter + " "
                                             + layer.layerLength);
        QCOMPARE(layers, (QStringList{"1 415 475 69.0993", "2 445 505 74.0944", "3 475 535 79.0895"}));
        QStringList sketch;
        for (const SketchValue& value : section.sketch)
            sketch << QString::fromStdString(value.control + "=" + value.text);
        QCOMPARE(sketch,
                 (QStringList{"Text4=400", "Text5=800", "Label18=3", "Label16= 53", "Label12= 5", "Label23= 24",
                              "Label21= 535", "Label20= 200.0549"}));
        QVERIFY(section.verdict.empty());
        QVERIFY(section.stopped.empty());
        QVERIFY(!section.stale);
    }

    void report_numbers_formulas_through_the_runs_and_says_what_stopped_one()
    {
        const RunRecord ropeCheck = run("Command1", {{"Text1", "1000,5"}, {"Text3", "50000"}, {"Option2", "on"}});
        const RunRecord stopped = run("Command2", {{"Text2", "2E+37"}});
        const ReportRun runs[] = {{&ropeCheck, true}, {&stopped, false}};
        const Report report = makeReport(runs, "Кальвента 1.3.0", "");
        QCOMPARE(report.sections.size(), 2u);
        const ReportSection& first = report.sections[0];
        QVERIFY(first.stale);
        QCOMPARE(QString::fromStdString(first.inputs[0].notice),
                 "Прочитано как 1000: запятая не входит в число. Для 1000,5 введите 1000.5");
        QCOMPARE(QString::fromStdString(first.inputs[2].symbol + " " + first.inputs[2].read), "k 5.5");
        QCOMPARE(QString::fromStdString(first.formulas.at(0).text), "Sмин = Q · k · 10 = 1000 · 5.5 · 10 = 55000 Н");
        QCOMPARE(QString::fromStdString(first.verdict), "Fр = 50000 Н < Sмин = 55000 Н: канат не допустим");
        const ReportSection& second = report.sections[1];
        QCOMPARE(second.formulas.at(0).number, 2);
        QCOMPARE(QString::fromStdString(second.formulas.at(0).text),
                 "Dмин = 19 · d — не рассчитано: расчёт остановлен, ошибка вычислений с плавающей точкой "
                 "(минимальный диаметр барабана)");
        QCOMPARE(QString::fromStdString(second.stopped),
                 "Расчёт остановлен на величине «минимальный диаметр барабана»: Ошибка вычислений с плавающей точкой.");
    }

    // What a stopped run's report says: values worked out, those the window
    // never got, and none from the layer the error stopped.
    void report_of_a_run_stopped_in_a_layer()
    {
        const RunRecord record = run("Command3", capacityStoppedAtLayerTwoLength);
        const ReportRun runs[] = {{&record, false}};
        const ReportSection section = makeReport(runs, "", "").sections.at(0);
        QStringList formulas;
        for (const ReportFormula& formula : section.formulas)
            formulas << QString::fromStdString(formula.text);
        const QString stopped = "расчёт остановлен, переполнение (длина каната в слое)";
        QCOMPARE(
            formulas,
            (QStringList{
                "n = ⌊L / d⌋ = ⌊5E+14 (одинарная точность: 499999993495552) / 1E+11 (одинарная точность: "
                "99999997952)⌋ = 5000 — в окно не записано: "
                    + stopped,
                "g = L − n · d = 5E+14 (одинарная точность: 499999993495552) − 5000 · 1E+11 (одинарная точность: "
                "99999997952) = 3735552 мм — в окно не записано: "
                    + stopped,
                // The sums of Singles are narrowed in the order worked out: 2 · d · 0 first.
                "P1 = D + d + 2 · d · (1 − 1) = 5.86E+13 (одинарная точность: 58600001110016) + 1E+11 (одинарная "
                "точность: 99999997952) + 2 · 1E+11 (одинарная точность: 99999997952) · 0 = 0 + 5.86E+13 "
                "(одинарная точность: 58600001110016) + 1E+11 (одинарная точность: 99999997952) = 58600001110016 + "
                "1E+11 (одинарная точность: 99999997952) = 58700001107968 → 58700001705984 (округлено до "
                "одинарной точности) = 58700001705984 мм",
                "F = P1 + d + 2 · d · Y = 58700001705984 + 1E+11 (одинарная точность: 99999997952) + 2 · 1E+11 "
                "(одинарная точность: 99999997952) · 2 = 59200001695744 мм",
                "l1 = 3.14159 · P1 · n / 1000 = 3.14159 · 58700001705984 · 5000 / 1000 = "
                "922056691797511.3728 м",
                "S = l1 = 922056691797511.3728 = 9.220567E+14 м — в окно не записано: " + stopped,
                "Sк = 0.9 · S — не рассчитано: " + stopped,
                "t = ⌈Q / ([σ] · d)⌉ — не рассчитано: " + stopped,
            }));
        QCOMPARE(section.layers.size(), 1u); // only the layer completed
        QCOMPARE(QString::fromStdString(section.stopped),
                 "Расчёт остановлен в слое 2 на величине «длина каната в слое»: Переполнение: число вышло за "
                 "допустимые пределы.");
    }

    // «Принято» is what the calculation worked with; a note under the table
    // says where that is not what the field reads, or what an infinity is.
    void inputs_taken_otherwise_are_noted_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<Entries>("entries");
        QTest::addColumn<QString>("input"); // symbol, as typed, as taken
        QTest::addColumn<QStringList>("notes");
        QTest::newRow("empty rope diameter taken as 1 mm")
            << "Command3" << Entries{{"Text4", "500"}, {"Text5", "1000"}, {"Text7", "3000"}} << "d||1"
            << QStringList{"Диаметр каната: поле прочитано как 0, в расчёте принято 1 мм (пустое поле или 0 расчёт "
                           "заменяет на 1 мм)."};
        QTest::newRow("rope diameter 0 taken as 1 mm")
            << "Command3" << Entries{{"Text6", "0"}} << "d|0|1"
            << QStringList{"Диаметр каната: поле прочитано как 0, в расчёте принято 1 мм (пустое поле или 0 расчёт "
                           "заменяет на 1 мм)."};
        QTest::newRow("a load beyond the Single range")
            << "Command1" << Entries{{"Text1", "1E+39"}, {"Option1", "on"}} << "Q|1E+39|1.#INF"
            << QStringList{"Вес груза: 1.#INF — бесконечность: число в поле больше по модулю, чем 3.402823E+38, "
                           "наибольшее число одинарной точности."};
        QTest::newRow("nothing to note") << "Command2" << Entries{{"Text2", "12"}} << "d|12|12" << QStringList{};
    }

    void inputs_taken_otherwise_are_noted()
    {
        QFETCH(QString, button);
        QFETCH(Entries, entries);
        QFETCH(QString, input);
        QFETCH(QStringList, notes);
        const RunRecord record = run(button.toLatin1().constData(), entries);
        const ReportRun runs[] = {{&record, false}};
        const ReportSection section = makeReport(runs, "", "").sections.at(0);
        const QString symbol = input.section(QLatin1Char('|'), 0, 0);
        const auto row = std::find_if(section.inputs.begin(), section.inputs.end(),
                                      [&](const ReportInput& i) { return QString::fromStdString(i.symbol) == symbol; });
        QVERIFY(row != section.inputs.end());
        QCOMPARE(QString::fromStdString(row->symbol + "|" + row->typed + "|" + row->read), input);
        QCOMPARE(texts(section.notes), notes);
    }

    void report_before_any_run()
    {
        const Report report = makeReport({}, "Кальвента 1.3.0", "");
        QVERIFY(report.sections.empty());
        QCOMPARE(QString::fromStdString(report.nothingYet),
                 "Расчёт не выполнялся: нажмите кнопку «Расчёт» одной из групп окна.");
    }

    void copied_results()
    {
        const RunRecord ropeCheck = run("Command1", ropeCheckExample);
        const RunRecord limits = run("Command2", {{"Text2", "12"}});
        // Stopped at the leftover length: the turns were worked out but never
        // shown, and no choice was read yet.
        const RunRecord stopped = run("Command3", {{"Text5", "1e15"}, {"Text6", "1e11"}, {"Combo1", "2"}});
        const ReportRun runs[] = {{&ropeCheck, false}, {&limits, true}, {&stopped, false}};
        const std::vector<CopiedRow> rows = copiedResults(runs);
        QCOMPARE(QString::fromStdString(asTabSeparated(rows)),
                 "Величина\tЗначение\tЕд. изм.\n"
                 "Расчёт каната\t\t\n"
                 "Вес груза\t1000\tкг\n"
                 "Разрывное усилие каната\t50000\tН\n"
                 "Коэффициент запаса по режиму работы\t5.5\t\n"
                 "Минимальное допустимое натяжение каната\t55000\tН\n"
                 "Заключение о канате\tканат не допустим\t\n"
                 "Допустимые размеры барабана (исходные данные изменены после расчёта)\t\t\n"
                 "Диаметр каната\t12\tмм\n"
                 "Минимальный диаметр барабана\t228\tмм\n"
                 "Максимальная длина барабана\t684\tмм\n"
                 "Расчёт канатоёмкости\t\t\n"
                 "Диаметр барабана\t0\tмм\n"
                 "Длина барабана\t1E+15\tмм\n"
                 "Диаметр каната\t1E+11\tмм\n"
                 "Вес груза\t0\tкг\n"
                 "Расчёт остановлен\tпереполнение (остаток длины барабана)\t\n");
        const QString html = QString::fromStdString(asHtmlTable(rows));
        QVERIFY(html.startsWith("<table>\n<tr><th>Величина</th><th>Значение</th><th>Ед. изм.</th></tr>\n"));
        QVERIFY(html.contains("<tr><td>Минимальный диаметр барабана</td><td sdval=\"228\" sdnum=\"1033;0;General\" "
                              "x:num=\"228\">228</td><td>мм</td></tr>"));
        QVERIFY(html.contains("<td sdval=\"1E+15\" sdnum=\"1033;0;General\" x:num=\"1E+15\">1E+15</td>"));
        QVERIFY(html.contains("<td>переполнение (остаток длины барабана)</td>"));
        QVERIFY(html.contains("<tr><th colspan=\"3\">Расчёт каната</th></tr>"));
    }

    void copied_results_escape_what_they_quote()
    {
        const std::vector<CopiedRow> rows{{"a<b>&\"c\"", "1\t2", "x\ny"}};
        QCOMPARE(QString::fromStdString(asTabSeparated(rows)), "Величина\tЗначение\tЕд. изм.\na<b>&\"c\"\t1 2\tx y\n");
        QVERIFY(QString::fromStdString(asHtmlTable(rows)).contains("<td>a&lt;b&gt;&amp;&quot;c&quot;</td>"));
    }

    // The last run of each calculation, in the order run; a run goes stale
    // when a control it read changes, and only then.
    void history_keeps_the_last_run_of_each_and_marks_stale_ones()
    {
        RunHistory history;
        history.add(run("Command2", {{"Text2", "12"}}));
        history.add(run("Command1", ropeCheckExample));
        history.add(run("Command2", {{"Text2", "8.3"}}));
        const auto runs = history.reportRuns();
        QCOMPARE(runs.size(), 2u);
        QCOMPARE(QString::fromStdString(std::string(runs[0].record->calculation->button)), "Command1");
        QCOMPARE(QString::fromStdString(*runs[1].record->finalCaption("Label8")), " 157.7");

        history.inputChanged("Text7", controlState("1")); // read by neither
        QVERIFY(!history.stale(CalculationId::RopeCheck) && !history.stale(CalculationId::DrumSizeLimits));
        history.inputChanged("Option3", controlState(Integer{-1}));
        history.inputChanged("Text1", controlState("1001"));
        QVERIFY(history.stale(CalculationId::RopeCheck));
        QVERIFY(!history.stale(CalculationId::DrumSizeLimits));
        const auto words = [&] {
            QStringList names;
            for (const std::string& name : history.changedInputs(CalculationId::RopeCheck))
                names << QString::fromStdString(name);
            return names;
        };
        QCOMPARE(words(), (QStringList{"вес груза", "коэффициент запаса по режиму работы"}));
        QCOMPARE(QString::fromStdString(makeReport(history.reportRuns(), "", "").sections.front().staleNote),
                 "исходные данные изменены после расчёта: вес груза, коэффициент запаса по режиму работы");
        // Typed and chosen back as the run read them: no longer marked.
        history.inputChanged("Text1", controlState("1000"));
        history.inputChanged("Option3", controlState(Integer{0}));
        QVERIFY(!history.stale(CalculationId::RopeCheck));
        history.inputChanged("Option3", controlState(Integer{-1}));
        history.add(run("Command1", ropeCheckExample));
        QVERIFY(!history.stale(CalculationId::RopeCheck));
        QVERIFY(!history.lastRun(CalculationId::RopeCapacity));
        history.add(run("Command3", {{"Text6", "12"}}));
        history.inputChanged("Combo2", controlState(Integer{1})); // a list chosen anew
        QVERIFY(history.stale(CalculationId::RopeCapacity) && !history.stale(CalculationId::RopeCheck));
    }
};

QTEST_GUILESS_MAIN(ReportDataTest)
#include "report_data_test.moc"
