// Reading numbers from input fields: the number at the start of the text, the
// full stop as the only decimal point, no text an error, any length.

#include "core/text_to_number.h"

#include <QTest>

#include <cmath>
#include <limits>
#include <string>

using namespace kalventa;

class TextToNumberTest : public QObject {
    Q_OBJECT

private slots:
    void reads_the_leading_number_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<double>("value");
        QTest::addColumn<std::size_t>("length"); // characters read; what follows is ignored
        QTest::newRow("empty") << QByteArray("") << 0.0 << std::size_t{0};
        QTest::newRow("letters") << QByteArray("abc") << 0.0 << std::size_t{0};
        QTest::newRow("whole") << QByteArray("1000") << 1000.0 << std::size_t{4};
        QTest::newRow("trailing letters") << QByteArray("12.5abc") << 12.5 << std::size_t{4};
        QTest::newRow("decimal comma stops") << QByteArray("5,5") << 5.0 << std::size_t{1};
        QTest::newRow("comma in 1,5") << QByteArray("1,5") << 1.0 << std::size_t{1};
        QTest::newRow("leading blanks") << QByteArray("   7") << 7.0 << std::size_t{4};
        QTest::newRow("leading tab") << QByteArray("\t7") << 7.0 << std::size_t{2};
        QTest::newRow("inner blank stops") << QByteArray("1 2") << 1.0 << std::size_t{1};
        QTest::newRow("plus sign") << QByteArray("+3") << 3.0 << std::size_t{2};
        QTest::newRow("minus sign") << QByteArray("-1.5e3") << -1500.0 << std::size_t{6};
        QTest::newRow("point first") << QByteArray(".5") << 0.5 << std::size_t{2};
        QTest::newRow("signed point first") << QByteArray("-.25") << -0.25 << std::size_t{4};
        QTest::newRow("point last") << QByteArray("5.") << 5.0 << std::size_t{2};
        QTest::newRow("exponent") << QByteArray("1E+37") << 1e37 << std::size_t{5};
        QTest::newRow("lowercase exponent") << QByteArray("2e-3") << 0.002 << std::size_t{4};
        QTest::newRow("exponent without digits") << QByteArray("1e") << 1.0 << std::size_t{1};
        QTest::newRow("exponent sign without digits") << QByteArray("1e+") << 1.0 << std::size_t{1};
        QTest::newRow("exponent alone") << QByteArray("e5") << 0.0 << std::size_t{0};
        QTest::newRow("sign alone") << QByteArray("-") << 0.0 << std::size_t{0};
        QTest::newRow("point alone") << QByteArray(".") << 0.0 << std::size_t{0};
        QTest::newRow("blanks only") << QByteArray("    ") << 0.0 << std::size_t{0};
        QTest::newRow("blank after sign") << QByteArray("- 5") << 0.0 << std::size_t{0};
        QTest::newRow("two signs") << QByteArray("+-5") << 0.0 << std::size_t{0};
        QTest::newRow("leading zeros") << QByteArray("000123.4500") << 123.45 << std::size_t{11};
        QTest::newRow("zeros after the point") << QByteArray("0.0001") << 0.0001 << std::size_t{6};
        QTest::newRow("hexadecimal is not read") << QByteArray("0x1A") << 0.0 << std::size_t{1};
        QTest::newRow("embedded NUL stops") << QByteArray("12\0" "34", 5) << 12.0 << std::size_t{2};
        QTest::newRow("invalid UTF-8 stops") << QByteArray("7\xff\xfe" "8") << 7.0 << std::size_t{1};
        QTest::newRow("Cyrillic letters") << QByteArray("вес") << 0.0 << std::size_t{0};
        QTest::newRow("underflow to zero") << QByteArray("1e-400") << 0.0 << std::size_t{6};
        QTest::newRow("largest double") << QByteArray("1.7976931348623157e308") << std::numeric_limits<double>::max() << std::size_t{22};
        QTest::newRow("smallest denormal") << QByteArray("4.9406564584124654e-324")
                                           << std::numeric_limits<double>::denorm_min() << std::size_t{23};
    }

    void reads_the_leading_number()
    {
        QFETCH(QByteArray, text);
        QFETCH(double, value);
        QFETCH(std::size_t, length);
        const NumberReading reading = readNumber(std::string_view(text.constData(), std::size_t(text.size())));
        QCOMPARE(reading.value, value);
        QCOMPARE(reading.length, length);
        QVERIFY(!reading.overflow);
    }

    void keeps_the_sign_of_zero_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<bool>("negative");
        QTest::newRow("no number is plus zero") << QByteArray("-") << false;
        QTest::newRow("minus zero") << QByteArray("-0") << true;
        QTest::newRow("minus underflow") << QByteArray("-1e-999") << true;
        QTest::newRow("plus zero") << QByteArray("0.000") << false;
    }

    void keeps_the_sign_of_zero()
    {
        QFETCH(QByteArray, text);
        QFETCH(bool, negative);
        const double value = readNumber(text.toStdString()).value;
        QCOMPARE(value, 0.0);
        QCOMPARE(std::signbit(value), negative);
    }

    void beyond_the_double_range_is_an_overflow_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<double>("value");
        const double inf = std::numeric_limits<double>::infinity();
        QTest::newRow("1e309") << QByteArray("1e309") << inf;
        QTest::newRow("huge exponent") << QByteArray("1e99999") << inf;
        QTest::newRow("exponent of thirty digits") << QByteArray("-5e123456789012345678901234567890") << -inf;
        QTest::newRow("just past the largest") << QByteArray("1.797693134862316e308") << inf;
        QTest::newRow("four hundred digits") << QByteArray(400, '9') << inf;
    }

    void beyond_the_double_range_is_an_overflow()
    {
        QFETCH(QByteArray, text);
        QFETCH(double, value);
        const NumberReading reading = readNumber(text.toStdString());
        QCOMPARE(reading.value, value);
        QVERIFY(reading.overflow);
    }

    void rounds_long_texts_correctly_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<double>("value");
        // Half-way between 1 and the next Double, then a nonzero digit far
        // beyond the digits kept: it must still round up.
        QByteArray aboveHalf = "1.00000000000000011102230246251565404236316680908203125";
        aboveHalf += QByteArray(2000, '0') + "1";
        QTest::newRow("just above half-way") << aboveHalf << std::nextafter(1.0, 2.0);
        QTest::newRow("exactly half-way rounds to even")
            << QByteArray("1.00000000000000011102230246251565404236316680908203125") << 1.0;
        QTest::newRow("a million digits") << QByteArray("0.") + QByteArray(1000000, '3') << 1.0 / 3.0;
        QTest::newRow("a million zeros then a digit")
            << QByteArray("0.") + QByteArray(1000000, '0') + "7" << 0.0;
        QTest::newRow("a million zeros scaled back up")
            << QByteArray("0.") + QByteArray(1000000, '0') + "7e1000001" << 7.0;
        QTest::newRow("many leading zeros") << QByteArray(100000, '0') + "42" << 42.0;
    }

    void rounds_long_texts_correctly()
    {
        QFETCH(QByteArray, text);
        QFETCH(double, value);
        QCOMPARE(readNumber(std::string_view(text.constData(), std::size_t(text.size()))).value, value);
    }
};

QTEST_GUILESS_MAIN(TextToNumberTest)
#include "text_to_number_test.moc"
