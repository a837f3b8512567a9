// Number to text, as the result labels show it: checked against printf's %G
// (run in the C locale) wherever the two rules agree, and row by row where
// they part: exact ties, carries, and the switch to the exponent form.

#include "core/number_to_text.h"

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
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, std::fabs(value),
                                   std::chars_format::scientific, 1100).ptr;
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
        compareWithPrintf<float, std::uint32_t>(7, [&random] {
            return static_cast<float>(static_cast<int>(random() % 20000001) - 10000000)
                   / static_cast<float>(std::pow(10.0, static_cast<int>(random() % 12)));
        }, [&random] { return static_cast<std::uint32_t>(random()); });
    }

    void double_matches_printf_away_from_ties()
    {
        std::mt19937_64 random(8122026);
        compareWithPrintf<double, std::uint64_t>(15, [&random] {
            return static_cast<double>(static_cast<std::int64_t>(random() % 2000000000001) - 1000000000000)
                   / std::pow(10.0, static_cast<int>(random() % 20));
        }, [&random] { return random(); });
    }

    void single_text_data()
    {
        QTest::addColumn<float>("value");
        QTest::addColumn<QString>("text");
        QTest::newRow("zero") << 0.0f << " 0";
        QTest::newRow("negative zero") << -0.0f << " 0";
        QTest::newRow("half") << 0.5f << " .5";
        QTest::newRow("minus a quarter") << -0.25f << "-.25";
        QTest::newRow("product 5 x 1234.567") << 6172.835f << " 6172.835";
        QTest::newRow("eight digits go to exponent form") << 12345678.0f << " 1.234568E+07";
        QTest::newRow("one hundred million") << 100000000.0f << " 1E+08";
        QTest::newRow("largest fixed") << 9999999.0f << " 9999999";
        QTest::newRow("carry into exponent form") << 9999999.5f << " 1E+07";
        QTest::newRow("tie rounds away from zero") << 654322.25f << " 654322.3";
        QTest::newRow("negative tie rounds away from zero") << -654322.25f << "-654322.3";
        QTest::newRow("tie on an odd digit") << 654322.75f << " 654322.8";
        QTest::newRow("tie at the integer digit") << 1234568.5f << " 1234569";
        QTest::newRow("ten thousandth after rounding") << 0.0001f << " .0001";
        QTest::newRow("below 1E-04") << 0.00001f << " 1E-05";
        QTest::newRow("small with digits") << 0.000012345f << " 1.2345E-05";
        QTest::newRow("small fixed") << 0.00012345f << " .00012345";
        QTest::newRow("largest single") << std::numeric_limits<float>::max() << " 3.402823E+38";
        QTest::newRow("smallest denormal") << std::numeric_limits<float>::denorm_min() << " 1.401298E-45";
        QTest::newRow("rope tension 8.3 x 6 x 10") << 498.000030517578125f << " 498";
        QTest::newRow("minimum drum diameter 157.7") << 157.6999969482421875f << " 157.7";
        QTest::newRow("infinity") << std::numeric_limits<float>::infinity() << " 1.#INF";
        QTest::newRow("minus infinity") << -std::numeric_limits<float>::infinity() << "-1.#INF";
    }

    void single_text()
    {
        QFETCH(float, value);
        QFETCH(QString, text);
        QCOMPARE(QString::fromStdString(signedText(value)), text);
    }

    void double_text_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("text");
        QTest::newRow("zero") << 0.0 << " 0";
        QTest::newRow("negative zero") << -0.0 << " 0";
        QTest::newRow("rope tension 1000 x 5.5 x 10") << 55000.0 << " 55000";
        QTest::newRow("tie at the 15th digit") << 411223.9892578125 << " 411223.989257813";
        QTest::newRow("negative tie") << -411223.9892578125 << "-411223.989257813";
        QTest::newRow("tie carrying into exponent form") << 999999999999999.5 << " 1E+15";
        QTest::newRow("largest fixed") << 999999999999999.0 << " 999999999999999";
        QTest::newRow("fifteen digits of a Single product") << 456.50001049041748046875 << " 456.500010490417";
        QTest::newRow("exponent form drops trailing zeros") << 0.0000000000000125 << " 1.25E-14";
        QTest::newRow("exponent of three digits") << 1e100 << " 1E+100";
        QTest::newRow("smallest fixed") << 0.0001 << " .0001";
        QTest::newRow("below 1E-04") << 0.00009999999999999999 << " .0001";
        QTest::newRow("a third") << 1.0 / 3.0 << " .333333333333333";
        QTest::newRow("largest double") << std::numeric_limits<double>::max() << " 1.79769313486232E+308";
        QTest::newRow("smallest denormal") << std::numeric_limits<double>::denorm_min() << " 4.94065645841247E-324";
    }

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
        QTest::newRow("zero") << qint64(0) << " 0";
        QTest::newRow("whole") << qint64(5350000) << " 535";
        QTest::newRow("negative fraction below one") << qint64(-625) << "-.0625";
        QTest::newRow("one ten-thousandth") << qint64(1) << " .0001";
        QTest::newRow("minus one ten-thousandth") << qint64(-1) << "-.0001";
        QTest::newRow("trailing zeros dropped") << qint64(12500) << " 1.25";
        QTest::newRow("layer length") << qint64(690993) << " 69.0993";
        QTest::newRow("largest, never in exponent form") << std::numeric_limits<qint64>::max()
                                                         << " 922337203685477.5807";
        QTest::newRow("lowest") << std::numeric_limits<qint64>::min() << "-922337203685477.5808";
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
        QTest::newRow("zero") << 0 << " 0" << "0";
        QTest::newRow("layer number") << 6 << " 6" << "6";
        QTest::newRow("negative") << -7 << "-7" << "-7";
        QTest::newRow("largest") << 32767 << " 32767" << "32767";
        QTest::newRow("lowest") << -32768 << "-32768" << "-32768";
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
        const Variant values[] = {Variant(), Variant(Integer{-5}), Variant(1.0f / 3.0f), Variant(1.0 / 3.0),
                                  Variant(Currency{3333})};
        QCOMPARE(QString::fromStdString(signedText(values[row])), text);
    }
};

QTEST_GUILESS_MAIN(NumberTextTest)
#include "number_text_test.moc"
