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
        QCOMPARE(
            QString::fromStdString(second.stopped),
            "Расчёт остановлен: ошибка вычислений с плавающей точкой при вычислении минимального диаметра барабана.");
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
                 "Расчёт остановлен в слое 2: переполнение при вычислении длины каната в слое.");
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

    // The method names the formulas of the calculations run, with the
    // numbers they hold and the choices' tables, then the number kinds.
    void method_data()
    {
        QTest::addColumn<QStringList>("buttons");
        QTest::addColumn<QStringList>("paragraphs");
        const QString kinds
            = "Числа вычисляются в типах исходной методики: Single (одинарная точность), Double (двойная точность), "
              "Currency (четыре знака после точки) и Integer (16-битное целое), — с её округлениями и записываются в "
              "её виде: точка отделяет дробную часть, ноль перед ней опускается (.5), большие числа — с порядком "
              "(1.2E+08). Поэтому цифры записки можно сравнивать с результатами исходной методики цифра в цифру.";
        const QString check
            = "Минимальное допустимое натяжение каната Sмин = Q · k · 10, где k — коэффициент запаса по режиму "
              "работы, по таблице исходной методики: лёгкий — 5, средний — 5.5, тяжёлый — 6, тяговый — 4.5; 10 — "
              "ускорение свободного падения, принятое 10 м/с².";
        const QString limits
            = "Минимальный диаметр барабана Dмин = 19 · d, где 19 — наименьшее отношение диаметра барабана к "
              "диаметру каната. Максимальная длина барабана Lмакс = 3 · Dмин, где 3 — наибольшее отношение длины "
              "барабана к его диаметру.";
        const QString capacity
            = "Канатоёмкость Sк = 0.9 · S, где 0.9 — коэффициент неравномерности укладки каната. Толщина стенки "
              "барабана t = ⌈Q / ([σ] · d)⌉, где [σ] — допускаемое напряжение материала барабана, кг/мм², по "
              "таблице исходной методики: сварная сталь — 14, чугун — 10.";
        QTest::newRow("none run") << QStringList{} << QStringList{};
        QTest::newRow("the rope check") << QStringList{"Command1"} << QStringList{check, kinds};
        // In the calculations' order, whatever the order run.
        QTest::newRow("all three") << QStringList{"Command3", "Command1", "Command2"}
                                   << QStringList{check, limits, capacity, kinds};
    }

    void method()
    {
        QFETCH(QStringList, buttons);
        QFETCH(QStringList, paragraphs);
        const std::map<QString, Entries> entries{{"Command1", ropeCheckExample},
                                                 {"Command2", {{"Text2", "12"}}},
                                                 {"Command3", capacityExample}};
        std::vector<RunRecord> records;
        for (const QString& button : buttons)
            records.push_back(run(button.toLatin1().constData(), entries.at(button)));
        std::vector<ReportRun> runs;
        for (const RunRecord& record : records)
            runs.push_back({&record, false});
        const ReportMethod method = makeReport(runs, "", "").method;
        QCOMPARE(QString::fromStdString(method.title), paragraphs.isEmpty() ? "" : "Методика");
        QCOMPARE(texts(method.paragraphs), paragraphs);
    }

    // Each result as held and as its label shows it, and the run's conclusion.
    void summary_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<Entries>("entries");
        QTest::addColumn<bool>("stale");
        QTest::addColumn<QStringList>("rows"); // symbol|quantity|value|unit|label
        QTest::addColumn<QString>("conclusion");
        QTest::newRow("rope check") << "Command1" << ropeCheckExample << false
                                    << QStringList{"Sмин|Минимальное допустимое натяжение каната|55000|Н| 55000",
                                                   "|Заключение о канате|канат не допустим||Не допустимо"}
                                    << "канат не допустим";
        QTest::newRow("a permissible rope: its label empty, stale")
            << "Command1" << Entries{{"Text1", "100"}, {"Text3", "50000"}, {"Option1", "on"}} << true
            << QStringList{"Sмин|Минимальное допустимое натяжение каната|5000|Н| 5000",
                           "|Заключение о канате|канат допустим||пусто"}
            << "канат допустим; исходные данные изменены после расчёта";
        QTest::newRow("rope capacity")
            << "Command3" << capacityExample << false
            << QStringList{"N|Число слоёв каната|3||3",
                           "n|Число витков в слое|53|| 53",
                           "g|Остаток длины барабана за последним витком|5|мм| 5",
                           "P3|Диаметр навивки верхнего слоя|475|мм|—",
                           "F|Диаметр реборды|535|мм| 535",
                           "l3|Длина каната в верхнем слое|79.0895|м|—",
                           "S|Канатоёмкость без учёта неравномерности укладки|222.2832|м| 222.2832",
                           "Sк|Канатоёмкость|200.0549|м| 200.0549",
                           "t|Толщина стенки барабана|24|мм| 24"}
            << "рассчитано";
        // Two layers chosen, one written; the turns worked out, never shown.
        QTest::newRow("stopped in layer 2")
            << "Command3" << capacityStoppedInLayerTwo << false
            << QStringList{"N|Число слоёв каната|2||1",
                           "n|Число витков в слое|0||пусто",
                           "g|Остаток длины барабана за последним витком|0|мм|пусто",
                           "P1|Диаметр навивки верхнего слоя|703687441776640|мм|—",
                           "F|Диаметр реборды|844424930131968|мм| 844424930131968",
                           "l1|Длина каната в верхнем слое|0|м|—",
                           "S|Канатоёмкость без учёта неравномерности укладки|0|м|пусто",
                           "Sк|Канатоёмкость|не рассчитано|м|пусто",
                           "t|Толщина стенки барабана|не рассчитано|мм|пусто"}
            << "расчёт остановлен в слое 2: переполнение при вычислении диаметра навивки слоя";
    }

    void summary()
    {
        QFETCH(QString, button);
        QFETCH(Entries, entries);
        QFETCH(bool, stale);
        QFETCH(QStringList, rows);
        QFETCH(QString, conclusion);
        const RunRecord record = run(button.toLatin1().constData(), entries);
        const ReportRun runs[] = {{&record, stale}};
        const ReportSummary summary = makeReport(runs, "", "").summary;
        QCOMPARE(QString::fromStdString(summary.title), "Сводка результатов");
        QCOMPARE(summary.runs.size(), 1u);
        QStringList shown;
        for (const SummaryRow& row : summary.runs[0].rows)
            shown << QString::fromStdString(row.symbol + "|" + row.quantity + "|" + row.value + "|" + row.unit + "|"
                                            + row.label);
        QCOMPARE(shown, rows);
        QCOMPARE(QString::fromStdString(summary.runs[0].conclusion), conclusion);
    }

    // The rope capacity's drum against the drum size limits, only for the
    // same rope diameter as the calculations hold it.
    void drum_check_data()
    {
        QTest::addColumn<QString>("ropeDiameter"); // for the drum size limits; "none" when not run
        QTest::addColumn<Entries>("capacity");     // empty when not run
        QTest::addColumn<QStringList>("lines");
        const QString same = "Размеры барабана сравнены с допустимыми для того же каната, d = 15 мм:";
        const QString notChecked = "Размеры барабана с допустимыми не сравнены: ";
        Entries small = capacityExample;
        small["Text4"] = "250";
        small["Text5"] = "900";
        Entries atTheLimits = capacityExample;
        atTheLimits["Text4"] = "285";
        atTheLimits["Text5"] = "855";
        Entries noRope = capacityExample;
        noRope.erase("Text6");
        QTest::newRow("met") << "15" << capacityExample
                             << QStringList{same, "D = 400 мм ≥ Dмин = 285 мм — выполняется",
                                            "L = 800 мм ≤ Lмакс = 855 мм — выполняется"};
        QTest::newRow("not met") << "15" << small
                                 << QStringList{same, "D = 250 мм < Dмин = 285 мм — условие D ≥ Dмин не выполняется",
                                                "L = 900 мм > Lмакс = 855 мм — условие L ≤ Lмакс не выполняется"};
        QTest::newRow("met at the limits") << "15" << atTheLimits
                                           << QStringList{same, "D = 285 мм ≥ Dмин = 285 мм — выполняется",
                                                          "L = 855 мм ≤ Lмакс = 855 мм — выполняется"};
        QTest::newRow("another rope") << "12" << capacityExample
                                      << QStringList{notChecked
                                                     + "допустимые размеры рассчитаны для каната d = 12 мм, "
                                                       "канатоёмкость — для d = 15 мм."};
        // The rope capacity works with 1 mm for an empty field.
        QTest::newRow("the rope diameter the capacity took") << "0" << noRope
                                                             << QStringList{notChecked
                                                                            + "допустимые размеры рассчитаны для "
                                                                              "каната d = 0 мм, канатоёмкость — для "
                                                                              "d = 1 мм."};
        QTest::newRow("limits not run") << "none" << capacityExample
                                        << QStringList{notChecked
                                                       + "расчёт «Допустимые размеры барабана» не выполнялся."};
        QTest::newRow("limits stopped") << "2E+37" << capacityExample
                                        << QStringList{notChecked
                                                       + "расчёт «Допустимые размеры барабана» остановлен до них."};
        QTest::newRow("capacity not run") << "15" << Entries{} << QStringList{};
    }

    void drum_check()
    {
        QFETCH(QString, ropeDiameter);
        QFETCH(Entries, capacity);
        QFETCH(QStringList, lines);
        std::vector<RunRecord> records;
        if (ropeDiameter != "none")
            records.push_back(run("Command2", {{"Text2", ropeDiameter.toStdString()}}));
        if (!capacity.empty())
            records.push_back(run("Command3", capacity));
        std::vector<ReportRun> runs;
        for (const RunRecord& record : records)
            runs.push_back({&record, false});
        QCOMPARE(texts(makeReport(runs, "", "").summary.drumCheck), lines);
    }

    // One sentence: the layer, the error and the step, read or worked out.
    void stopped_sentence_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<Entries>("entries");
        QTest::addColumn<QString>("sentence");
        QTest::newRow("in a layer") << "Command3" << capacityStoppedInLayerTwo
                                    << "Расчёт остановлен в слое 2: переполнение при вычислении диаметра навивки слоя.";
        QTest::newRow("before the layers") << "Command3" << Entries{{"Text5", "327675"}, {"Text6", "10"}}
                                           << "Расчёт остановлен: переполнение при вычислении числа витков в слое.";
        QTest::newRow("reading an input") << "Command2" << Entries{{"Text2", std::string(200, '7')}}
                                          << "Расчёт остановлен: ошибка вычислений с плавающей точкой при чтении "
                                             "диаметра каната.";
    }

    void stopped_sentence()
    {
        QFETCH(QString, button);
        QFETCH(Entries, entries);
        QFETCH(QString, sentence);
        const RunRecord record = run(button.toLatin1().constData(), entries);
        const ReportRun runs[] = {{&record, false}};
        QCOMPARE(QString::fromStdString(makeReport(runs, "", "").sections.at(0).stopped), sentence);
    }

    void report_before_any_run()
    {
        const Report report = makeReport({}, "Кальвента 1.3.0", "");
        QVERIFY(report.sections.empty());
        QVERIFY(report.summary.runs.empty() && report.summary.title.empty());
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
