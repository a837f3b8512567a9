// What a run tells beyond its labels: the notice for each field whose text
// was not read whole, the words a screen reader says for a result, and the
// one-sentence summary of a run, after a whole run and after an error.

#include "core/calculation_table.h"
#include "core/input_notice.h"
#include "core/meanings.h"
#include "core/run_record.h"
#include "memory_controls.h"

#include <QTest>

#include <map>
#include <set>
#include <string>
#include <vector>

using namespace kalventa;
using kalventa::testing::MemoryControls;

using Entries = std::map<std::string, std::string>;
using Notices = std::vector<std::pair<std::string, std::string>>; // field, notice
Q_DECLARE_METATYPE(Entries)
Q_DECLARE_METATYPE(Notices)

namespace {

QString notice(const QByteArray& text)
{
    const std::string_view typed(text.constData(), std::size_t(text.size()));
    return QString::fromStdString(misreadNotice(typed, readNumber(typed)));
}

Notices noticesOf(const RunRecord& record)
{
    Notices notices;
    for (const FieldRead& read : record.fieldsRead)
        notices.emplace_back(read.field, read.notice);
    return notices;
}

const std::string capacityExampleSummary
    = "Расчёт канатоёмкости: слоёв 3; диаметр реборды 535 мм; витков 53; толщина стенки 24 мм; остаток 5 мм; "
      "канатоёмкость без учёта укладки 222.2832 м; канатоёмкость 200.0549 м";

} // namespace

namespace QTest {
template <>
char* toString(const Notices& notices)
{
    QByteArray text;
    for (const auto& [field, said] : notices)
        text += QByteArray::fromStdString(field) + "=\"" + QByteArray::fromStdString(said) + "\" ";
    return qstrdup(text.constData());
}
} // namespace QTest

class RunRecordTest : public QObject {
    Q_OBJECT

private slots:
    void notices_say_what_was_read_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QString>("notice");
        const QString none;
        QTest::newRow("read whole") << QByteArray("12") << none;
        QTest::newRow("empty reads 0 by design") << QByteArray("") << none;
        QTest::newRow("blanks only") << QByteArray("   ") << none;
        QTest::newRow("blanks around the number") << QByteArray("  7 \t") << none;
        QTest::newRow("point and exponent") << QByteArray("-1.5e3") << none;
        QTest::newRow("decimal comma") << QByteArray("5,5")
                                       << QString("Прочитано как 5: запятая не входит в число. Для 5,5 введите 5.5");
        QTest::newRow("negative with a comma") << QByteArray("-12,75 ")
                                               << QString("Прочитано как -12: запятая не входит в число. "
                                                          "Для -12,75 введите -12.75");
        QTest::newRow("a comma and more after the fraction is quoted whole")
            << QByteArray("-12,75 мм") << QString("Прочитано как -12: «,75 мм» после числа не учтено.");
        QTest::newRow("comma after a point is no decimal comma")
            << QByteArray("1.5,3") << QString("Прочитано как 1.5: «,3» после числа не учтено.");
        QTest::newRow("comma with nothing after it")
            << QByteArray("7,") << QString("Прочитано как 7: «,» после числа не учтено.");
        QTest::newRow("comma with a suggestion of 40 characters, the longest repeated")
            << QByteArray("5," + QByteArray(38, '1'))
            << QString("Прочитано как 5: запятая не входит в число. Для 5," + QString(38, '1') + " введите 5."
                       + QString(38, '1'));
        QTest::newRow("comma with a fraction one digit too long to repeat")
            << QByteArray("5," + QByteArray(39, '1'))
            << QString("Прочитано как 5: запятая не входит в число. Дробную часть отделяйте точкой.");
        QTest::newRow("comma after a whole number too long for a Single's digits")
            << QByteArray("123456789,5")
            << QString("Прочитано как 1.234568E+08: запятая не входит в число. Для 123456789,5 введите 123456789.5");
        QTest::newRow("comma after an exponent is no decimal comma")
            << QByteArray("2E1,5") << QString("Прочитано как 20: «,5» после числа не учтено.");
        QTest::newRow("letters after the number")
            << QByteArray("12abc") << QString("Прочитано как 12: «abc» после числа не учтено.");
        QTest::newRow("no exponent letter but d")
            << QByteArray("1d5") << QString("Прочитано как 1: «d5» после числа не учтено.");
        QTest::newRow("a second number") << QByteArray("1 2") << QString("Прочитано как 1: «2» после числа не учтено.");
        QTest::newRow("no zero before the point")
            << QByteArray("0.5кг") << QString("Прочитано как .5: «кг» после числа не учтено.");
        QTest::newRow("a Single of the number")
            << QByteArray("8.3x") << QString("Прочитано как 8.3: «x» после числа не учтено.");
        QTest::newRow("letters only") << QByteArray("abc") << QString("Прочитано как 0: текст не начинается с числа.");
        QTest::newRow("full-width digits")
            << QByteArray("１２") << QString("Прочитано как 0: текст не начинается с числа.");
        QTest::newRow("a sign alone") << QByteArray("-") << QString("Прочитано как 0: текст не начинается с числа.");
        QTest::newRow("long rest cut after 20 characters")
            << QByteArray("1" + QByteArray(100, 'x'))
            << QString("Прочитано как 1: «xxxxxxxxxxxxxxxxxxxx…» после числа не учтено.");
        QTest::newRow("Cyrillic rest cut between letters")
            << QByteArray("1" + QString(25, QChar(0x436)).toUtf8())
            << QString("Прочитано как 1: «" + QString(20, QChar(0x436)) + "…» после числа не учтено.");
        QTest::newRow("markup is quoted as typed")
            << QByteArray("3<b>x</b>") << QString("Прочитано как 3: «<b>x</b>» после числа не учтено.");
    }

    void notices_say_what_was_read()
    {
        QFETCH(QByteArray, text);
        QFETCH(QString, notice);
        QCOMPARE(::notice(text), notice);
    }

    // What a record keeps of a long text for the report: its first 200
    // characters.
    void a_record_quotes_the_start_of_what_was_typed_data()
    {
        QTest::addColumn<QByteArray>("typed");
        QTest::addColumn<QString>("quoted");
        QTest::newRow("200 characters whole") << QByteArray(200, '7') << QString(200, '7');
        QTest::newRow("201 characters cut after 200") << QByteArray(201, '7') << QString(200, '7') + "…";
    }

    void a_record_quotes_the_start_of_what_was_typed()
    {
        QFETCH(QByteArray, typed);
        QFETCH(QString, quoted);
        MemoryControls window = MemoryControls::with({{"Text2", typed.toStdString()}});
        const RunRecord record = recordRun(*calculationOf("Command2"), window);
        QCOMPARE(QString::fromStdString(record.fieldsRead.at(0).typed), quoted);
    }

    void results_are_spoken_with_their_unit_data()
    {
        QTest::addColumn<QString>("label");
        QTest::addColumn<bool>("written");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("spoken");
        QTest::newRow("tension") << "Label3" << true << " 55000"
                                 << "Минимальное допустимое натяжение каната: 55000 Н";
        QTest::newRow("negative length") << "Label10" << true << "-171"
                                         << "Максимальная длина барабана: -171 мм";
        QTest::newRow("fraction") << "Label20" << true << " 200.0549"
                                  << "Канатоёмкость: 200.0549 м";
        QTest::newRow("count without unit") << "Label18" << true << "3"
                                            << "Слоёв каната: 3";
        QTest::newRow("verdict shown as it stands") << "Label6" << true << "Не допустимо"
                                                    << "Заключение о канате: Не допустимо";
        QTest::newRow("verdict empty") << "Label6" << true << ""
                                       << "Заключение о канате: допустим";
        QTest::newRow("never written") << "Label12" << false << ""
                                       << "Остаток длины барабана за последним витком: нет результата";
        QTest::newRow("verdict never written") << "Label6" << false << ""
                                               << "Заключение о канате: нет результата";
    }

    void results_are_spoken_with_their_unit()
    {
        QFETCH(QString, label);
        QFETCH(bool, written);
        QFETCH(QString, caption);
        QFETCH(QString, spoken);
        const QuantityEntry* result = entryShownIn(label.toStdString());
        QVERIFY(result);
        const std::string text = caption.toStdString();
        QCOMPARE(QString::fromStdString(spokenResult(*result, written ? &text : nullptr)), spoken);
    }

    // The catalogue knows every control a calculation reads and every label
    // it writes, and names each of its quantities once for a file.
    void the_catalogue_covers_every_calculation()
    {
        for (const CalculationEntry& calculation : calculations()) {
            MemoryControls window = MemoryControls::with({{"Text6", "15"}, {"Combo1", "5"}});
            calculation.run(window);
            for (const auto& [label, caption] : window.captions) {
                const QuantityEntry* result = entryShownIn(label);
                QVERIFY2(result && result->calculation == calculation.id && !result->spokenResult.empty(),
                         label.c_str());
            }
            for (const std::string& control : window.reads)
                QVERIFY2(reads(calculation.id, control), control.c_str());
            std::set<std::string_view> keys;
            for (const QuantityEntry& quantity : catalogue())
                if (quantity.calculation == calculation.id)
                    QVERIFY2(keys.insert(quantity.fileKey).second
                                 && quantity.fileKey.find_first_not_of("abcdefghijklmnopqrstuvwxyz_")
                                     == std::string_view::npos,
                             std::string(quantity.fileKey).c_str());
        }
    }

    void a_run_is_summed_up_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<Entries>("entries");
        QTest::addColumn<QString>("summary");
        QTest::addColumn<Notices>("notices");
        QTest::newRow("rope not permissible")
            << "Command1" << Entries{{"Text1", "1000"}, {"Text3", "50000"}, {"Option2", "on"}}
            << "Расчёт каната: натяжение 55000 Н; канат не допустим" << Notices{{"Text1", ""}, {"Text3", ""}};
        QTest::newRow("rope permissible, load typed with a comma")
            << "Command1" << Entries{{"Text1", "1000,5"}, {"Text3", "60000"}, {"Option1", "on"}}
            << "Расчёт каната: натяжение 50000 Н; канат допустим"
            << Notices{{"Text1", "Прочитано как 1000: запятая не входит в число. Для 1000,5 введите 1000.5"},
                       {"Text3", ""}};
        QTest::newRow("drum size limits")
            << "Command2" << Entries{{"Text2", "12"}}
            << "Допустимые размеры барабана: диаметр барабана не менее 228 мм; длина барабана не более 684 мм"
            << Notices{{"Text2", ""}};
        QTest::newRow("rope capacity, three layers")
            << "Command3" << Entries{{"Text4", "400"}, {"Text5", "800"}, {"Text6", "15"},  {"Text7", "5000"},
                                     {"Combo1", "2"},  {"Combo2", "0"},  {"Option5", "on"}}
            << QString::fromStdString(capacityExampleSummary)
            << Notices{{"Text4", ""}, {"Text5", ""}, {"Text6", ""}, {"Text7", ""}};
        QTest::newRow("error before any label")
            << "Command3" << Entries{{"Text5", "327675"}, {"Text6", "10abc"}}
            << "Расчёт канатоёмкости: расчёт остановлен, переполнение (число витков в слое). Результаты не рассчитаны"
            << Notices{{"Text4", ""},
                       {"Text5", ""},
                       {"Text6", "Прочитано как 10: «abc» после числа не учтено."},
                       {"Text7", ""}};
        QTest::newRow("error in the second layer")
            << "Command3" << Entries{{"Text4", "562949953421312"}, {"Text6", "140737488355328"}, {"Combo1", "1"}}
            << "Расчёт канатоёмкости: расчёт остановлен, переполнение (диаметр навивки слоя). Записано до остановки: "
               "слоёв 1; диаметр реборды 844424930131968 мм"
            << Notices{{"Text4", ""}, {"Text5", ""}, {"Text6", ""}, {"Text7", ""}};
        QTest::newRow("floating-point error")
            << "Command2" << Entries{{"Text2", "2E+37"}}
            << "Допустимые размеры барабана: расчёт остановлен, ошибка вычислений с плавающей точкой (минимальный "
               "диаметр барабана). Результаты не рассчитаны"
            << Notices{{"Text2", ""}};
    }

    // The record sees the run through the window and changes nothing of it:
    // the same reads and writes, in the same order, as a run on its own.
    void a_run_is_summed_up()
    {
        QFETCH(QString, button);
        QFETCH(Entries, entries);
        QFETCH(QString, summary);
        QFETCH(Notices, notices);
        const CalculationEntry* calculation = calculationOf(button.toStdString());
        QVERIFY(calculation);

        MemoryControls recorded = MemoryControls::with(entries);
        const RunRecord record = recordRun(*calculation, recorded);
        QCOMPARE(QString::fromStdString(runSummary(record)), summary);
        QCOMPARE(noticesOf(record), notices);

        MemoryControls alone = MemoryControls::with(entries);
        try {
            calculation->run(alone);
            QVERIFY(!record.error);
        } catch (const RuntimeError& error) {
            QVERIFY(record.error);
            QCOMPARE(record.error->kind(), error.kind());
            QCOMPARE(record.error->quantity(), error.quantity());
        }
        QCOMPARE(recorded.reads, alone.reads);
        QCOMPARE(recorded.writes, alone.writes);
        QCOMPARE(record.captions.size(), alone.writes.size());
    }
};

QTEST_GUILESS_MAIN(RunRecordTest)
#include "run_record_test.moc"
