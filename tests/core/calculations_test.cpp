// The three calculations end to end through an in-memory window: the labels
// they write, in the order they write them, and what an error leaves behind.
// The rows are tables/calculations.json, which the browser edition's core
// tests run as well.

#include "core/calculation_table.h"
#include "core/calculations.h"
#include "core/error_text.h"
#include "core/run_record.h"
#include "core/runtime_error.h"
#include "memory_controls.h"
#include "test_tables.h"

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
using kalventa::testing::testTable;

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

namespace {

constexpr const char* previous = "previous";
const char* const notPermissible = "Не допустимо";

const QJsonObject& table()
{
    static const QJsonObject rows = testTable("calculations.json");
    return rows;
}

Entries entriesOf(const QJsonObject& row)
{
    Entries entries;
    const QJsonObject object = row[QLatin1String("entries")].toObject();
    for (auto it = object.begin(); it != object.end(); ++it)
        entries[it.key().toStdString()] = it.value().toString().toStdString();
    return entries;
}

Captions writesOf(const QJsonObject& row)
{
    Captions writes;
    for (const QJsonValue& write : row[QLatin1String("writes")].toArray())
        writes.emplace_back(write[0].toString().toStdString(), write[1].toString().toStdString());
    return writes;
}

std::vector<std::string> readsOf(const char* button)
{
    std::vector<std::string> reads;
    for (const QJsonValue& name : table()[QLatin1String("reads")][QLatin1String(button)].toArray())
        reads.push_back(name.toString().toStdString());
    return reads;
}

Calculation calculationFor(const QString& button)
{
    const CalculationEntry* entry = calculationOf(button.toStdString());
    if (!entry)
        qFatal("no button %s", qPrintable(button));
    return entry->run;
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
    const auto entry
        = std::find_if(entries.begin(), entries.end(), [&](const CalculationEntry& e) { return e.run == calculation; });
    QVERIFY(entry != entries.end());
    const RunRecord record = recordRun(*entry, window);
    if (record.error)
        throw *record.error;
}

void addRows(const char* section)
{
    QTest::addColumn<Entries>("entries");
    QTest::addColumn<Captions>("writes");
    for (const QJsonValue& value : table()[QLatin1String(section)].toArray()) {
        const QJsonObject row = value.toObject();
        QTest::newRow(qPrintable(row[QLatin1String("name")].toString())) << entriesOf(row) << writesOf(row);
    }
}

// Every label a calculation may write, holding the text of an earlier run.
void fillResultLabels(MemoryControls& window)
{
    for (const QJsonValue& label : table()[QLatin1String("resultLabels")].toArray())
        window.captions[label.toString().toStdString()] = previous;
}

} // namespace

class CalculationsTest : public QObject {
    Q_OBJECT

    // Runs the row's entries through the calculation: the labels it writes,
    // in order, and the controls it reads, in order.
    static void runRow(Calculation calculation, const char* button)
    {
        QFETCH(Entries, entries);
        QFETCH(Captions, writes);
        MemoryControls window = MemoryControls::with(entries);
        perform(calculation, window);
        QCOMPARE(window.writes, writes);
        QCOMPARE(window.reads, readsOf(button));
    }

private slots:
    void initTestCase()
    {
        // Under a decimal-comma locale (ctest runs this test once so) the
        // labels must read exactly the same.
        if (qEnvironmentVariableIsSet("KALVENTA_EXPECT_DECIMAL_COMMA"))
            QCOMPARE(std::localeconv()->decimal_point, ",");
    }

    void rope_check_data() { addRows("ropeCheck"); }
    void rope_check() { runRow(ropeCheck, "Command1"); }

    void each_button_runs_its_calculation()
    {
        const std::vector<std::string_view> buttons{"Command1", "Command2", "Command3"};
        const std::vector<Calculation> expected{ropeCheck, drumSizeLimits, ropeCapacity};
        std::vector<std::string_view> seenButtons;
        std::vector<Calculation> seenCalculations;
        for (const CalculationEntry& row : kalventa::calculations()) {
            seenButtons.push_back(row.button);
            seenCalculations.push_back(row.run);
        }
        QCOMPARE(seenButtons, buttons);
        QVERIFY(seenCalculations == expected);
    }

    void rope_check_clears_an_earlier_verdict()
    {
        MemoryControls window = MemoryControls::with({{"Text1", "1000"}, {"Text3", "49999"}, {"Option1", "on"}});
        perform(ropeCheck, window);
        QCOMPARE(window.caption("Label6"), notPermissible);
        window.texts["Text3"] = "50001";
        perform(ropeCheck, window);
        QCOMPARE(window.caption("Label6"), "");
    }

    void drum_size_limits_data() { addRows("drumSizeLimits"); }
    void drum_size_limits() { runRow(drumSizeLimits, "Command2"); }

    void rope_capacity_data() { addRows("ropeCapacity"); }
    void rope_capacity() { runRow(ropeCapacity, "Command3"); }

    void rope_capacity_twice_gives_the_same_texts()
    {
        MemoryControls window
            = MemoryControls::with({{"Text4", "400"}, {"Text5", "800"}, {"Text6", "15"}, {"Combo1", "2"}});
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
        QTest::addColumn<QString>("message");
        QTest::addColumn<Captions>("writes");
        for (const QJsonValue& value : table()[QLatin1String("errors")].toArray()) {
            const QJsonObject row = value.toObject();
            QTest::newRow(qPrintable(row[QLatin1String("name")].toString()))
                << calculationFor(row[QLatin1String("button")].toString()) << entriesOf(row)
                << row[QLatin1String("message")].toString() << writesOf(row);
        }
    }

    void errors_end_the_calculation()
    {
        QFETCH(Calculation, calculation);
        QFETCH(Entries, entries);
        QFETCH(QString, message);
        QFETCH(Captions, writes);
        MemoryControls window = MemoryControls::with(entries);
        fillResultLabels(window);
        const auto before = window.captions;
        try {
            perform(calculation, window);
            QFAIL("no error was raised");
        } catch (const RuntimeError& e) {
            // The message names the error and the quantity it arose in.
            QCOMPARE(QString::fromStdString(errorText(e)), message);
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
