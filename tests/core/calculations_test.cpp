// The three calculations end to end through an in-memory window: the labels
// they write, in the order they write them, and what an error leaves behind.

#include "core/calculation_table.h"
#include "core/calculations.h"
#include "core/run_record.h"
#include "core/runtime_error.h"
#include "memory_controls.h"

#include <QTest>

#include <algorithm>
#include <clocale>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

using namespace kalventa;
using kalventa::testing::MemoryControls;

// Control name → what the user entered: a text field's text, or for an option
// button "on", or for a list the chosen index.
using Entries = std::map<std::string, std::string>;
using Captions = std::vector<std::pair<std::string, std::string>>;
using Calculation = void (*)(Controls&);

namespace QTest {
template <>
char* toString(const Captions& captions)
{
    QByteArray text;
    for (const auto& [label, caption] : captions)
        text += QByteArray::fromStdString(label) + "=\"" + QByteArray::fromStdString(caption) + "\" ";
    return qstrdup(text.constData());
}
} // namespace QTest

Q_DECLARE_METATYPE(Entries)
Q_DECLARE_METATYPE(Captions)
Q_DECLARE_METATYPE(Calculation)
Q_DECLARE_METATYPE(kalventa::ErrorKind)
Q_DECLARE_METATYPE(kalventa::Quantity)

namespace {

constexpr const char* previous = "previous";
const char* const notPermissible = "Не допустимо";

MemoryControls windowWith(const Entries& entries)
{
    MemoryControls window;
    for (const auto& [name, entry] : entries) {
        if (name.rfind("Option", 0) == 0)
            window.values[name] = entry == "on" ? Integer{-1} : Integer{0};
        else if (name.rfind("Combo", 0) == 0)
            window.listIndexes[name] = static_cast<Integer>(std::stoi(entry));
        else
            window.texts[name] = entry;
    }
    return window;
}

// Under KALVENTA_RECORD_RUNS (ctest runs this test once so) every calculation
// runs recorded, as the window runs it: each row must give the same reads,
// writes and errors as the calculation on its own.
void perform(Calculation calculation, MemoryControls& window)
{
    if (!qEnvironmentVariableIsSet("KALVENTA_RECORD_RUNS")) {
        calculation(window);
        return;
    }
    const auto entries = calculations();
    const auto entry = std::find_if(entries.begin(), entries.end(),
                                    [&](const CalculationEntry& e) { return e.run == calculation; });
    QVERIFY(entry != entries.end());
    const RunRecord record = recordRun(*entry, window);
    if (record.error)
        throw *record.error;
}

// Every label a calculation may write, holding the text of an earlier run.
void fillResultLabels(MemoryControls& window)
{
    for (const char* label : {"Label3", "Label6", "Label8", "Label10", "Label12", "Label16", "Label18", "Label19",
                              "Label20", "Label21", "Label23"})
        window.captions[label] = previous;
}

} // namespace

class CalculationsTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        // Under a decimal-comma locale (ctest runs this test once so) the
        // labels must read exactly the same.
        if (qEnvironmentVariableIsSet("KALVENTA_EXPECT_DECIMAL_COMMA"))
            QCOMPARE(std::localeconv()->decimal_point, ",");
    }

    void rope_check_data()
    {
        QTest::addColumn<Entries>("entries");
        QTest::addColumn<QString>("tension");
        QTest::addColumn<QString>("verdict");
        QTest::newRow("light duty, rope exactly strong enough")
            << Entries{{"Text1", "1000"}, {"Text3", "50000"}, {"Option1", "on"}} << " 50000" << "";
        QTest::newRow("light duty, rope one newton short")
            << Entries{{"Text1", "1000"}, {"Text3", "49999"}, {"Option1", "on"}} << " 50000" << notPermissible;
        QTest::newRow("light duty, strong rope")
            << Entries{{"Text1", "1000"}, {"Text3", "60000"}, {"Option1", "on"}} << " 50000" << "";
        QTest::newRow("medium duty is a Double")
            << Entries{{"Text1", "1000"}, {"Text3", "50000"}, {"Option2", "on"}} << " 55000" << notPermissible;
        QTest::newRow("heavy duty") << Entries{{"Text1", "1000"}, {"Option3", "on"}} << " 60000" << "";
        QTest::newRow("traction duty") << Entries{{"Text1", "1000"}, {"Option4", "on"}} << " 45000" << "";
        QTest::newRow("8.3 heavy shows 7 digits") << Entries{{"Text1", "8.3"}, {"Option3", "on"}} << " 498" << "";
        QTest::newRow("8.3 medium shows 15 digits")
            << Entries{{"Text1", "8.3"}, {"Option2", "on"}} << " 456.500010490417" << "";
        QTest::newRow("empty breaking force stands for 1E+08 N")
            << Entries{{"Text1", "2000000"}, {"Option3", "on"}} << " 1.2E+08" << notPermissible;
        QTest::newRow("empty breaking force holds up to 1E+08 N")
            << Entries{{"Text1", "1666666"}, {"Option3", "on"}} << " 9.999996E+07" << "";
        QTest::newRow("everything empty") << Entries{} << " 0" << "";
        QTest::newRow("no duty class") << Entries{{"Text1", "1000"}, {"Text3", "1"}} << " 0" << "";
        QTest::newRow("no duty class, negative rope")
            << Entries{{"Text1", "1000"}, {"Text3", "-1"}} << " 0" << notPermissible;
        QTest::newRow("decimal comma reads up to the comma")
            << Entries{{"Text1", "5,5"}, {"Option1", "on"}} << " 250" << "";
        QTest::newRow("negative load and rope")
            << Entries{{"Text1", "-2"}, {"Option2", "on"}, {"Text3", "-200"}} << "-110" << notPermissible;
        QTest::newRow("two options on: the last one read wins")
            << Entries{{"Text1", "1000"}, {"Option1", "on"}, {"Option4", "on"}} << " 45000" << "";
        QTest::newRow("largest Single load goes past the Single range")
            << Entries{{"Text1", "3.4E+38"}, {"Option3", "on"}} << " 2.03999997128662E+40" << notPermissible;
        QTest::newRow("infinite breaking force") << Entries{{"Text1", "1000"}, {"Text3", "1E+39"}, {"Option1", "on"}}
                                                 << " 50000" << "";
    }

    void rope_check()
    {
        QFETCH(Entries, entries);
        QFETCH(QString, tension);
        QFETCH(QString, verdict);
        MemoryControls window = windowWith(entries);
        perform(ropeCheck, window);
        const Captions expected{{"Label3", tension.toStdString()}, {"Label6", verdict.toStdString()}};
        QCOMPARE(window.writes, expected);
        const std::vector<std::string> reads{"Text1", "Text3", "Option1", "Option2", "Option3", "Option4"};
        QCOMPARE(window.reads, reads);
    }

    void rope_check_clears_an_earlier_verdict()
    {
        MemoryControls window = windowWith({{"Text1", "1000"}, {"Text3", "49999"}, {"Option1", "on"}});
        perform(ropeCheck, window);
        QCOMPARE(window.caption("Label6"), notPermissible);
        window.texts["Text3"] = "50001";
        perform(ropeCheck, window);
        QCOMPARE(window.caption("Label6"), "");
    }

    void drum_size_limits_data()
    {
        QTest::addColumn<QString>("ropeDiameter");
        QTest::addColumn<QString>("minDrumDiameter");
        QTest::addColumn<QString>("maxDrumLength");
        QTest::newRow("12") << "12" << " 228" << " 684";
        QTest::newRow("8.3 shows 7 digits") << "8.3" << " 157.7" << " 473.1";
        QTest::newRow("decimal comma") << "12,5" << " 228" << " 684";
        QTest::newRow("empty") << "" << " 0" << " 0";
        QTest::newRow("negative") << "-3" << "-57" << "-171";
        QTest::newRow("underflow is zero") << "1e-50" << " 0" << " 0";
        QTest::newRow("length beyond the Single range becomes a Double")
            << "1E+37" << " 1.9E+38" << " 5.69999984818646E+38";
    }

    void drum_size_limits()
    {
        QFETCH(QString, ropeDiameter);
        QFETCH(QString, minDrumDiameter);
        QFETCH(QString, maxDrumLength);
        MemoryControls window = windowWith({{"Text2", ropeDiameter.toStdString()}});
        perform(drumSizeLimits, window);
        const Captions expected{{"Label8", minDrumDiameter.toStdString()}, {"Label10", maxDrumLength.toStdString()}};
        QCOMPARE(window.writes, expected);
    }

    void rope_capacity_data()
    {
        QTest::addColumn<Entries>("entries");
        QTest::addColumn<Captions>("writes");
        const Entries drum{{"Text4", "400"}, {"Text5", "800"}, {"Text6", "15"}, {"Text7", "5000"}};
        Entries threeLayers = drum;
        threeLayers.insert({{"Combo1", "2"}, {"Combo2", "0"}, {"Option5", "on"}});
        QTest::newRow("three layers, welded steel, 1.5d")
            << threeLayers
            << Captions{{"Label18", "1"}, {"Label21", " 475"}, {"Label18", "2"}, {"Label21", " 505"},
                        {"Label18", "3"}, {"Label21", " 535"}, {"Label16", " 53"}, {"Label23", " 24"},
                        {"Label12", " 5"}, {"Label19", " 222.2832"}, {"Label20", " 200.0549"}};
        QTest::newRow("nothing chosen: one layer, stress 1, no flange margin")
            << drum
            << Captions{{"Label18", "1"}, {"Label21", " 430"}, {"Label16", " 53"}, {"Label23", " 334"},
                        {"Label12", " 5"}, {"Label19", " 69.0993"}, {"Label20", " 62.18937"}};
        QTest::newRow("empty rope diameter is 1 mm, six layers, cast iron, 2d")
            << Entries{{"Text4", "500"}, {"Text5", "1000"}, {"Text7", "3000"}, {"Combo1", "5"}, {"Combo2", "1"},
                       {"Option6", "on"}}
            << Captions{{"Label18", "1"}, {"Label21", " 506"}, {"Label18", "2"}, {"Label21", " 508"},
                        {"Label18", "3"}, {"Label21", " 510"}, {"Label18", "4"}, {"Label21", " 512"},
                        {"Label18", "5"}, {"Label21", " 514"}, {"Label18", "6"}, {"Label21", " 516"},
                        {"Label16", " 1000"}, {"Label23", " 300"}, {"Label12", " 0"}, {"Label19", " 9537.867"},
                        {"Label20", " 8584.08"}};
        // Each constant's kind shows in the last digits: a Single 0.9 gives
        // " 70.12025", a Single 3.14159 or π " 54.0354" and " 48.63186", a
        // Single 1.5 rounds 1.5 × 2d to 24 bits: " 3708.5001" and " 4391.9".
        QTest::newRow("laying allowance 0.9 is a Double")
            << Entries{{"Text4", "300"}, {"Text5", "800"}, {"Text6", "10"}, {"Text7", "5000"}, {"Combo1", "0"},
                       {"Combo2", "0"}, {"Option5", "on"}}
            << Captions{{"Label18", "1"}, {"Label21", " 350"}, {"Label16", " 80"}, {"Label23", " 36"},
                        {"Label12", " 0"}, {"Label19", " 77.9114"}, {"Label20", " 70.12026"}};
        QTest::newRow("circle constant 3.14159 is a Double, not π")
            << Entries{{"Text4", "200"}, {"Text5", "1200"}, {"Text6", "15"}, {"Text7", "5000"}, {"Combo1", "0"},
                       {"Combo2", "1"}, {"Option6", "on"}}
            << Captions{{"Label18", "1"}, {"Label21", " 290"}, {"Label16", " 80"}, {"Label23", " 34"},
                        {"Label12", " 0"}, {"Label19", " 54.0353"}, {"Label20", " 48.63177"}};
        QTest::newRow("flange factor 1.5 is a Double")
            << Entries{{"Text4", "2000"}, {"Text5", "4000"}, {"Text6", "341.7"}, {"Text7", "5000"}, {"Combo1", "1"},
                       {"Combo2", "0"}, {"Option5", "on"}}
            << Captions{{"Label18", "1"}, {"Label21", " 3708.5"}, {"Label18", "2"}, {"Label21", " 4391.8999"},
                        {"Label16", " 11"}, {"Label23", " 2"}, {"Label12", " 241.2999"}, {"Label19", " 185.4632"},
                        {"Label20", " 166.9169"}};
        QTest::newRow("quotient rounded to 4 decimals before the floor")
            << Entries{{"Text5", "159999.9375"}, {"Text6", "1250"}}
            << Captions{{"Label18", "1"}, {"Label21", " 2500"}, {"Label16", " 128"}, {"Label23", " 0"},
                        {"Label12", "-.0625"}, {"Label19", " 502.6544"}, {"Label20", " 452.3889"}};
        QTest::newRow("49.99999 turns become 50")
            << Entries{{"Text5", "499.9999"}, {"Text6", "10"}}
            << Captions{{"Label18", "1"}, {"Label21", " 20"}, {"Label16", " 50"}, {"Label23", " 0"},
                        {"Label12", "-.0001"}, {"Label19", " 1.5708"}, {"Label20", " 1.41372"}};
        QTest::newRow("most turns an Integer holds")
            << Entries{{"Text5", "327674"}, {"Text6", "10"}}
            << Captions{{"Label18", "1"}, {"Label21", " 20"}, {"Label16", " 32767"}, {"Label23", " 0"},
                        {"Label12", " 4"}, {"Label19", " 1029.405"}, {"Label20", " 926.4643"}};
        QTest::newRow("negative length floors away from zero")
            << Entries{{"Text5", "-100"}, {"Text6", "15"}}
            << Captions{{"Label18", "1"}, {"Label21", " 30"}, {"Label16", "-7"}, {"Label23", " 0"},
                        {"Label12", " 5"}, {"Label19", "-.3299"}, {"Label20", "-.29691"}};
        QTest::newRow("wall thickness exactly whole")
            << Entries{{"Text6", "10"}, {"Text7", "1400"}, {"Combo2", "0"}}
            << Captions{{"Label18", "1"}, {"Label21", " 20"}, {"Label16", " 0"}, {"Label23", " 10"},
                        {"Label12", " 0"}, {"Label19", " 0"}, {"Label20", " 0"}};
        QTest::newRow("wall thickness rounded up")
            << Entries{{"Text6", "10"}, {"Text7", "1401"}, {"Combo2", "0"}}
            << Captions{{"Label18", "1"}, {"Label21", " 20"}, {"Label16", " 0"}, {"Label23", " 11"},
                        {"Label12", " 0"}, {"Label19", " 0"}, {"Label20", " 0"}};
        QTest::newRow("list index out of the lists' range counts as none")
            << Entries{{"Text6", "10"}, {"Text7", "1401"}, {"Combo1", "9"}, {"Combo2", "7"}}
            << Captions{{"Label18", "1"}, {"Label21", " 20"}, {"Label16", " 0"}, {"Label23", " 141"},
                        {"Label12", " 0"}, {"Label19", " 0"}, {"Label20", " 0"}};
    }

    void rope_capacity()
    {
        QFETCH(Entries, entries);
        QFETCH(Captions, writes);
        MemoryControls window = windowWith(entries);
        perform(ropeCapacity, window);
        QCOMPARE(window.writes, writes);
        const std::vector<std::string> reads{"Text4", "Text5", "Text6", "Text7", "Combo1", "Combo2", "Option5",
                                             "Option6"};
        QCOMPARE(window.reads, reads);
    }

    void rope_capacity_twice_gives_the_same_texts()
    {
        MemoryControls window = windowWith({{"Text4", "400"}, {"Text5", "800"}, {"Text6", "15"}, {"Combo1", "2"}});
        perform(ropeCapacity, window);
        const auto first = window.captions;
        window.listIndexes["Combo1"] = 5;
        perform(ropeCapacity, window);
        QCOMPARE(window.caption("Label18"), "6");
        window.listIndexes["Combo1"] = 2;
        perform(ropeCapacity, window);
        QCOMPARE(window.captions, first);
    }

    void errors_end_the_calculation_data()
    {
        QTest::addColumn<Calculation>("calculation");
        QTest::addColumn<Entries>("entries");
        QTest::addColumn<ErrorKind>("error");
        QTest::addColumn<Quantity>("quantity");
        QTest::addColumn<Captions>("writes");
        QTest::newRow("rope check: infinite load")
            << Calculation(ropeCheck) << Entries{{"Text1", "1E+39"}, {"Option1", "on"}} << ErrorKind::Overflow
            << Quantity::LoadWeight << Captions{};
        QTest::newRow("rope check: infinite load with no duty class")
            << Calculation(ropeCheck) << Entries{{"Text1", "-1E+39"}} << ErrorKind::Overflow
            << Quantity::LoadWeight << Captions{};
        QTest::newRow("drum limits: 19 diameters beyond the Single range")
            << Calculation(drumSizeLimits) << Entries{{"Text2", "2E+37"}} << ErrorKind::FloatingPoint
            << Quantity::MinDrumDiameter << Captions{};
        QTest::newRow("drum limits: diameter beyond the Single range")
            << Calculation(drumSizeLimits) << Entries{{"Text2", "1E+39"}} << ErrorKind::FloatingPoint
            << Quantity::RopeDiameter << Captions{};
        QTest::newRow("drum limits: diameter beyond the Double range")
            << Calculation(drumSizeLimits) << Entries{{"Text2", "1e99999"}} << ErrorKind::FloatingPoint
            << Quantity::RopeDiameter << Captions{};
        QTest::newRow("capacity: 32767.5 turns")
            << Calculation(ropeCapacity) << Entries{{"Text5", "327675"}, {"Text6", "10"}} << ErrorKind::Overflow
            << Quantity::TurnsPerLayer << Captions{};
        QTest::newRow("capacity: turns below the Integer range")
            << Calculation(ropeCapacity) << Entries{{"Text5", "-327690"}, {"Text6", "10"}} << ErrorKind::Overflow
            << Quantity::TurnsPerLayer << Captions{};
        QTest::newRow("capacity: load beyond the Single range seen by the first check")
            << Calculation(ropeCapacity) << Entries{{"Text7", "1E+39"}} << ErrorKind::FloatingPoint
            << Quantity::LoadWeight << Captions{};
        QTest::newRow("capacity: drum length beyond the Single range")
            << Calculation(ropeCapacity) << Entries{{"Text5", "1E+39"}} << ErrorKind::Overflow
            << Quantity::DrumLength << Captions{};
        QTest::newRow("capacity: drum diameter beyond the Single range")
            << Calculation(ropeCapacity) << Entries{{"Text4", "1E+39"}} << ErrorKind::Overflow
            << Quantity::DrumDiameter << Captions{};
        QTest::newRow("capacity: rope diameter beyond the Single range")
            << Calculation(ropeCapacity) << Entries{{"Text6", "1E+39"}} << ErrorKind::FloatingPoint
            << Quantity::RopeDiameter << Captions{};
        QTest::newRow("capacity: drum length and rope diameter both infinite")
            << Calculation(ropeCapacity) << Entries{{"Text5", "1E+39"}, {"Text6", "1E+39"}}
            << ErrorKind::FloatingPoint << Quantity::DrumLength << Captions{};
        QTest::newRow("capacity: doubled rope diameter of 2^127 overflows")
            << Calculation(ropeCapacity) << Entries{{"Text6", "1.7014118E+38"}} << ErrorKind::FloatingPoint
            << Quantity::PitchDiameter << Captions{};
        QTest::newRow("capacity: pitch diameter leaves Currency in the second pass")
            << Calculation(ropeCapacity)
            << Entries{{"Text4", "562949953421312"}, {"Text6", "140737488355328"}, {"Combo1", "1"}}
            << ErrorKind::Overflow << Quantity::PitchDiameter
            << Captions{{"Label18", "1"}, {"Label21", " 844424930131968"}};
        QTest::newRow("capacity: wall thickness beyond the Integer range")
            << Calculation(ropeCapacity) << Entries{{"Text6", "1"}, {"Text7", "1000000"}} << ErrorKind::Overflow
            << Quantity::WallThickness << Captions{{"Label18", "1"}, {"Label21", " 2"}};
        QTest::newRow("capacity: wall thickness one past the Integer range")
            << Calculation(ropeCapacity) << Entries{{"Text6", "1"}, {"Text7", "32767.01"}} << ErrorKind::Overflow
            << Quantity::WallThickness << Captions{{"Label18", "1"}, {"Label21", " 2"}};
    }

    void errors_end_the_calculation()
    {
        QFETCH(Calculation, calculation);
        QFETCH(Entries, entries);
        QFETCH(ErrorKind, error);
        QFETCH(Quantity, quantity);
        QFETCH(Captions, writes);
        MemoryControls window = windowWith(entries);
        fillResultLabels(window);
        const auto before = window.captions;
        try {
            perform(calculation, window);
            QFAIL("no error was raised");
        } catch (const RuntimeError& e) {
            QCOMPARE(e.kind(), error);
            QCOMPARE(e.quantity(), quantity);
        }
        QCOMPARE(window.writes, writes);
        // Labels not written keep the text of the earlier run.
        for (const auto& [label, text] : before)
            if (std::none_of(writes.begin(), writes.end(), [&](const auto& w) { return w.first == label; }))
                QCOMPARE(window.caption(label), text);
    }
};

QTEST_GUILESS_MAIN(CalculationsTest)
#include "calculations_test.moc"
