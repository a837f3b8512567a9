// Reading numbers from input fields: the number at the start of the text, the
// full stop as the only decimal point, no text an error, any length.

#include "core/float_status.h"
#include "core/text_to_number.h"

#include <QTest>

#include <array>
#include <charconv>
#include <cmath>
#include <limits>
#include <string_view>

using namespace kalventa;

namespace {

// The shortest text that reads back as exactly this value ("1.0000000000000002",
// "-0"), to compare readings exactly: QCOMPARE on floating-point values lets a
// neighbouring value pass.
template <class Float>
QByteArray exactly(Float value)
{
    std::array<char, 64> text{};
    const char* end = std::to_chars(text.data(), text.data() + text.size(), value).ptr;
    return QByteArray(text.data(), end - text.data());
}

NumberReading read(const QByteArray& text)
{
    return readNumber(std::string_view(text.constData(), std::size_t(text.size())));
}

// A text field holds a Single: the Double read, stored as the window stores it.
Single narrowed(Double value)
{
    FloatStatus status;
    return FloatArithmetic(status).narrow(value);
}

// `halfWay` (digits with a point) followed by zeros and a 1 that is the
// `place`th significant digit, then `exponent`: above half-way only by that 1.
QByteArray oneAtPlace(const QByteArray& halfWay, qsizetype place, const QByteArray& exponent = {})
{
    qsizetype significant = 0;
    for (const char c : halfWay)
        if ((c >= '1' && c <= '9') || (c == '0' && significant > 0))
            ++significant;
    return halfWay + QByteArray(place - 1 - significant, '0') + '1' + exponent;
}

// Half-way between 1 and the next Double, 1 + 2^-53: ties go down to 1.
const QByteArray halfWayAboveOne = "1.00000000000000011102230246251565404236316680908203125";

// 1 + 2^-24 + 2^-53: half-way between the Doubles 1 + 2^-24 and 1 + 2^-24 + 2^-52.
// Ties go down to 1 + 2^-24, itself half-way between the Singles 1 and
// 1 + 2^-23, which a Single then ties down to 1.
const QByteArray halfWayAboveSingleHalfWay = "1.00000005960464488641292746251565404236316680908203125";

// (2^25 - 3) × 2^103 + 2^74: half-way between two Doubles, the lower of them
// half-way between the two largest Singles, which ties down to the lower one.
const QByteArray halfWayBelowLargestSingle = "340282336497324076875334902989472137216.";

// (2^53 - 3) × 2^-1075, half-way between two subnormal Doubles: with 768
// significant digits the longest a half-way point has. Ties go down to
// (2^52 - 2) × 2^-1074. Read exactly and with a 1 at the 781st digit, it
// shows that every one of its digits is kept.
const QByteArray longestHalfWay
    = "2.22507385850720064199176395546258779936602667813027328296362349540005779643539444484102225369938322"
      "2614312797277047241310305390992976863718870946851468024222968583977359185141028540361975476844303195"
      "8132734693482011304211653085545320831493676067608324920106709384047261543474082573017216837765643921"
      "0106482391161721588524757602313035270771562002841775343298712758123539074213191978739083589771549597"
      "0664046616205505789259944223223424444728595704169556757585423752417124134805999073137808018133811049"
      "4890466866489442558344889010082597214961471042043991985565356975310055231935448663898095485089604066"
      "0352681852824502078615102443513620912377597978521535770387775045705684361475530270683064113556748943"
      "345076587312006145811358486831521563686919762403704226016998291015625";
const QByteArray longestHalfWayExponent = "e-308";

} // namespace

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
        QTest::newRow("embedded NUL stops") << QByteArray("12\0"
                                                          "34",
                                                          5)
                                            << 12.0 << std::size_t{2};
        QTest::newRow("invalid UTF-8 stops") << QByteArray("7\xff\xfe"
                                                           "8")
                                             << 7.0 << std::size_t{1};
        QTest::newRow("Cyrillic letters") << QByteArray("вес") << 0.0 << std::size_t{0};
        QTest::newRow("underflow to zero") << QByteArray("1e-400") << 0.0 << std::size_t{6};
        QTest::newRow("largest double") << QByteArray("1.7976931348623157e308") << std::numeric_limits<double>::max()
                                        << std::size_t{22};
        QTest::newRow("smallest denormal")
            << QByteArray("4.9406564584124654e-324") << std::numeric_limits<double>::denorm_min() << std::size_t{23};
    }

    void reads_the_leading_number()
    {
        QFETCH(QByteArray, text);
        QFETCH(double, value);
        QFETCH(std::size_t, length);
        const NumberReading reading = read(text);
        QCOMPARE(exactly(reading.value), exactly(value));
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
        QCOMPARE(exactly(read(text).value), exactly(negative ? -0.0 : 0.0));
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
        const NumberReading reading = read(text);
        QCOMPARE(exactly(reading.value), exactly(value));
        QVERIFY(reading.overflow);
    }

    void rounds_long_texts_correctly_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<double>("value");
        QTest::addColumn<float>("single"); // the value a text field holds
        const double aboveOne = std::nextafter(1.0, 2.0);
        // Half-way between 1 and the next Double, then a nonzero digit far
        // beyond the digits kept: it must still round up.
        QByteArray aboveHalf = halfWayAboveOne + QByteArray(2000, '0') + "1";
        QTest::newRow("just above half-way") << aboveHalf << aboveOne << 1.0f;
        QTest::newRow("exactly half-way rounds to even") << halfWayAboveOne << 1.0 << 1.0f;
        // The first digit not kept, and ones further on, decide the rounding.
        QTest::newRow("above half-way by the 781st digit") << oneAtPlace(halfWayAboveOne, 781) << aboveOne << 1.0f;
        QTest::newRow("above half-way by the 1000th digit") << oneAtPlace(halfWayAboveOne, 1000) << aboveOne << 1.0f;
        QTest::newRow("above half-way by the 100000th digit")
            << oneAtPlace(halfWayAboveOne, 100000) << aboveOne << 1.0f;
        QTest::newRow("negative, beyond half-way by the 1000th digit")
            << "-" + oneAtPlace(halfWayAboveOne, 1000) << -aboveOne << -1.0f;
        QTest::newRow("above the whole number 2^53 + 1 by the 1000th digit")
            << oneAtPlace("9007199254740993.", 1000) << 9007199254740994.0 << 9007199254740992.0f;
        QTest::newRow("longest half-way point rounds to even")
            << longestHalfWay + longestHalfWayExponent << 0x0.ffffffffffffep-1022 << 0.0f;
        QTest::newRow("above the longest half-way point by the 781st digit")
            << oneAtPlace(longestHalfWay, 781, longestHalfWayExponent) << 0x0.fffffffffffffp-1022 << 0.0f;
        // Above half-way between two Doubles, the lower of which lies half-way
        // between two Singles: the digit far out decides the Single as well.
        const float aboveOneSingle = 0x1.000002p0f;
        QTest::newRow("Single half-way point exactly: both round to even")
            << halfWayAboveSingleHalfWay << 0x1.000001p0 << 1.0f;
        QTest::newRow("Single above half-way by the 781st digit")
            << oneAtPlace(halfWayAboveSingleHalfWay, 781) << 0x1.0000010000001p0 << aboveOneSingle;
        QTest::newRow("Single above half-way by the 1000th digit")
            << oneAtPlace(halfWayAboveSingleHalfWay, 1000) << 0x1.0000010000001p0 << aboveOneSingle;
        QTest::newRow("Single above half-way by the 100000th digit")
            << oneAtPlace(halfWayAboveSingleHalfWay, 100000) << 0x1.0000010000001p0 << aboveOneSingle;
        QTest::newRow("largest Single by the 1000th digit")
            << oneAtPlace(halfWayBelowLargestSingle, 1000) << 0x1.fffffd0000001p127
            << std::numeric_limits<float>::max();
        QTest::newRow("a million digits") << QByteArray("0.") + QByteArray(1000000, '3') << 1.0 / 3.0 << 0x1.555556p-2f;
        QTest::newRow("a million zeros then a digit")
            << QByteArray("0.") + QByteArray(1000000, '0') + "7" << 0.0 << 0.0f;
        QTest::newRow("a million zeros scaled back up")
            << QByteArray("0.") + QByteArray(1000000, '0') + "7e1000001" << 7.0 << 7.0f;
        QTest::newRow("many leading zeros") << QByteArray(100000, '0') + "42" << 42.0 << 42.0f;
    }

    void rounds_long_texts_correctly()
    {
        QFETCH(QByteArray, text);
        QFETCH(double, value);
        QFETCH(float, single);
        const double reading = read(text).value;
        QCOMPARE(exactly(reading), exactly(value));
        QCOMPARE(exactly(narrowed(reading)), exactly(single));
    }
};

QTEST_GUILESS_MAIN(TextToNumberTest)
#include "text_to_number_test.moc"
