// Number to text, as the result labels show it: checked against printf's %G
// (run in the C locale) wherever the two rules agree, and row by row where
// they part: exact ties, carries, and the switch to the exponent form. The
// rows are tables/number_texts.json, which the browser edition's core tests
// run as well.

#include "core/number_to_text.h"
#include "test_tables.h"

#include <QTest>

#include <charconv>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <locale.h>
#include <random>
#include <string>

using namespace kalventa;

namespace {

// printf's %.*G in the C locale, whatever the process locale is, turned into
// the signed-field form: a blank for a sign, no zero before the point.
std::string printfOracle(double value, int precision)
{
    static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", locale_t{});
    const locale_t previous = uselocale(cLocale);
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.*G", precision, value);
    uselocale(previous);
    std::string text = buffer;
    if (text[0] != '-')
        text.insert(0, " ");
    if (text.compare(1, 2, "0.") == 0)
        text.erase(1, 1);
    return text;
}

// Whether the exact decimal expansion of `value` ends in a 5 right after the
// first `precision` significant digits: the only values on which the old
// runtime (half away from zero) and printf (half to even) may differ.
bool isTie(double value, int precision)
{
    char buffer[1200];
    const auto end
        = std::to_chars(buffer, buffer + sizeof buffer, std::fabs(value), std::chars_format::scientific, 1100).ptr;
    const std::string text(buffer, end);
    const std::string digits = text.substr(0, 1) + text.substr(2, text.find('e') - 2);
    return digits[static_cast<std::size_t>(precision)] == '5'
        && digits.find_first_not_of('0', static_cast<std::size_t>(precision) + 1) == std::string::npos;
}

// 200,000 values, half random bit patterns (every exponent) and half round
// decimals (the fixed-point texts a user sees most), each shown as printf's
// %G would show it wherever the value is not an exact tie.
template <class Float, class Bits, class Decimal, class RandomBits>
void compareWithPrintf(int precision, Decimal&& decimal, RandomBits&& randomBits)
{
    int compared = 0;
    for (int k = 0; k < 200000; ++k) {
        Float value;
        if (k % 2 == 0) {
            const Bits bits = randomBits();
            std::memcpy(&value, &bits, sizeof value);
        } else {
            value = decimal();
        }
        if (!std::isfinite(value) || value == 0 || isTie(static_cast<double>(value), precision))
            continue;
        const std::string expected = printfOracle(static_cast<double>(value), precision);
        if (signedText(value) != expected)
            QFAIL(qPrintable(QStringLiteral("%1: %2, expected %3")
                                 .arg(static_cast<double>(value), 0, 'g', 17)
                                 .arg(QString::fromStdString(signedText(value)), QString::fromStdString(expected))));
        ++compared;
    }
    QVERIFY(compared > 150000);
}

const QJsonObject& table()
{
    static const QJsonObject rows = kalventa::testing::testTable("number_texts.json");
    return rows;
}

void addFloatRows(const char* section)
{
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("text");
    for (const QJsonValue& row : table()[QLatin1String(section)].toArray())
        QTest::newRow(qPrintable(row[QLatin1String("name")].toString()))
            << kalventa::testing::tableFloat(row[QLatin1String("value")]) << row[QLatin1String("text")].toString();
}

} // namespace

class NumberTextTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        // A Qt program takes its C locale from the environment; so does this
        // test when ctest runs it under a decimal-comma locale.
        std::setlocale(LC_ALL, "");
        if (qEnvironmentVariableIsSet("KALVENTA_EXPECT_DECIMAL_COMMA"))
            QCOMPARE(std::localeconv()->decimal_point, ",");
    }

    void single_matches_printf_away_from_ties()
    {
        std::mt19937 random(20261208);
        compareWithPrintf<float, std::uint32_t>(
            7,
            [&random] {
                return static_cast<float>(static_cast<int>(random() % 20000001) - 10000000)
                    / static_cast<float>(std::pow(10.0, static_cast<int>(random() % 12)));
            },
            [&random] { return static_cast<std::uint32_t>(random()); });
    }

    void double_matches_printf_away_from_ties()
    {
        std::mt19937_64 random(8122026);
        compareWithPrintf<double, std::uint64_t>(
            15,
            [&random] {
                return static_cast<double>(static_cast<std::int64_t>(random() % 2000000000001) - 1000000000000)
                    / std::pow(10.0, static_cast<int>(random() % 20));
            },
            [&random] { return random(); });
    }

    void single_text_data() { addFloatRows("single"); }

    void single_text()
    {
        QFETCH(double, value);
        QFETCH(QString, text);
        const auto single = static_cast<float>(value);
        QCOMPARE(static_cast<double>(single), value); // the table holds Singles exactly
        QCOMPARE(QString::fromStdString(signedText(single)), text);
    }

    void double_text_data() { addFloatRows("double"); }

    void double_text()
    {
        QFETCH(double, value);
        QFETCH(QString, text);
        QCOMPARE(QString::fromStdString(signedText(value)), text);
    }

    void currency_text_data()
    {
        QTest::addColumn<qint64>("units");
        QTest::addColumn<QString>("text");
        for (const QJsonValue& row : table()[QLatin1String("currency")].toArray()) {
            bool ok = false;
            const qint64 units = row[QLatin1String("units")].toString().toLongLong(&ok);
            QVERIFY(ok);
            QTest::newRow(qPrintable(row[QLatin1String("name")].toString()))
                << units << row[QLatin1String("text")].toString();
        }
    }

    void currency_text()
    {
        QFETCH(qint64, units);
        QFETCH(QString, text);
        QCOMPARE(QString::fromStdString(signedText(Currency{units})), text);
    }

    void integer_text_data()
    {
        QTest::addColumn<int>("value");
        QTest::addColumn<QString>("signedForm");
        QTest::addColumn<QString>("plainForm");
        for (const QJsonValue& row : table()[QLatin1String("integer")].toArray())
            QTest::newRow(qPrintable(row[QLatin1String("name")].toString()))
                << row[QLatin1String("value")].toInt() << row[QLatin1String("signed")].toString()
                << row[QLatin1String("plain")].toString();
    }

    void integer_text()
    {
        QFETCH(int, value);
        QFETCH(QString, signedForm);
        QFETCH(QString, plainForm);
        QCOMPARE(QString::fromStdString(signedText(static_cast<Integer>(value))), signedForm);
        QCOMPARE(QString::fromStdString(plainText(static_cast<Integer>(value))), plainForm);
    }

    void variant_text_follows_its_kind_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("text");
        QTest::newRow("empty reads as the Integer 0") << 0 << " 0";
        QTest::newRow("Integer") << 1 << "-5";
        QTest::newRow("Single keeps 7 digits") << 2 << " .3333333";
        QTest::newRow("Double keeps 15 digits") << 3 << " .333333333333333";
        QTest::newRow("Currency keeps 4 decimals") << 4 << " .3333";
    }

    void variant_text_follows_its_kind()
    {
        QFETCH(int, row);
        QFETCH(QString, text);
        const Variant values[]
            = {Variant(), Variant(Integer{-5}), Variant(1.0f / 3.0f), Variant(1.0 / 3.0), Variant(Currency{3333})};
        QCOMPARE(QString::fromStdString(signedText(values[row])), text);
    }
};

QTEST_GUILESS_MAIN(NumberTextTest)
#include "number_text_test.moc"
