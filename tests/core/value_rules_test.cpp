// The value rules the calculations share: conversions between the kinds,
// checked Currency and Integer arithmetic, the Variant's kinds and errors,
// the counted loop and the floating-point status.

#include "core/conversions.h"
#include "core/float_status.h"
#include "core/runtime_error.h"
#include "core/variant.h"

#include <QTest>

#include <cmath>
#include <functional>
#include <limits>
#include <optional>
#include <vector>

using namespace kalventa;

Q_DECLARE_METATYPE(kalventa::Variant)
Q_DECLARE_METATYPE(kalventa::VariantKind)
Q_DECLARE_METATYPE(kalventa::ErrorKind)

namespace {

template <class F>
std::optional<ErrorKind> errorOf(F&& f)
{
    try {
        f();
    } catch (const RuntimeError& e) {
        return e.kind();
    }
    return std::nullopt;
}

constexpr double inf = std::numeric_limits<double>::infinity();
constexpr float singleMax = std::numeric_limits<float>::max();

} // namespace

class ValueRulesTest : public QObject {
    Q_OBJECT

private slots:
    void to_currency_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<qint64>("units");
        QTest::newRow("whole") << 415.0 << qint64(4150000);
        QTest::newRow("rounds to 4 decimals") << 53.33333333 << qint64(533333);
        QTest::newRow("tie to even, down") << 0.00025 << qint64(2);
        QTest::newRow("tie to even, up") << 0.00035 << qint64(4);
        QTest::newRow("negative tie to even") << -0.00025 << qint64(-2);
        // 127.99995 is a hair below the half, but its product with 10000 rounds
        // to the Double 1279999.5, which then goes to the even 1280000.
        QTest::newRow("product rounded before the whole number") << 159999.9375 / 1250.0 << qint64(1280000);
        QTest::newRow("49.99999 becomes 50") << static_cast<double>(499.9999f) / 10.0 << qint64(500000);
        QTest::newRow("a hundred trillion") << 1e14 << qint64(1000000000000000000);
    }

    void to_currency()
    {
        QFETCH(double, value);
        QFETCH(qint64, units);
        QCOMPARE(toCurrency(value).units, units);
    }

    void to_currency_overflows_beyond_its_range_data()
    {
        QTest::addColumn<double>("value");
        QTest::newRow("2^63 units") << 922337203685477.5808;
        QTest::newRow("far below") << -1e30;
        QTest::newRow("infinity") << inf;
        QTest::newRow("NaN") << std::nan("");
    }

    void to_currency_overflows_beyond_its_range()
    {
        QFETCH(double, value);
        QCOMPARE(errorOf([&] { toCurrency(value); }), std::optional(ErrorKind::Overflow));
    }

    void currency_to_integer_data()
    {
        QTest::addColumn<qint64>("units");
        QTest::addColumn<int>("integer");
        QTest::newRow("2.5 to even 2") << qint64(25000) << 2;
        QTest::newRow("3.5 to even 4") << qint64(35000) << 4;
        QTest::newRow("-2.5 to even -2") << qint64(-25000) << -2;
        QTest::newRow("-3.5 to even -4") << qint64(-35000) << -4;
        QTest::newRow("53.3333 down") << qint64(533333) << 53;
        QTest::newRow("53.5001 up") << qint64(535001) << 54;
        QTest::newRow("-6.6667 to -7") << qint64(-66667) << -7;
        QTest::newRow("32767.4999") << qint64(327674999) << 32767;
        QTest::newRow("-32768.5 to even") << qint64(-327685000) << -32768;
    }

    void currency_to_integer()
    {
        QFETCH(qint64, units);
        QFETCH(int, integer);
        QCOMPARE(int(toInteger(Currency{units})), integer);
    }

    void checked_arithmetic_overflows_data()
    {
        QTest::addColumn<int>("operation");
        QTest::newRow("32767.5 to Integer") << 0;
        QTest::newRow("-32769 to Integer") << 1;
        QTest::newRow("Currency sum past the top") << 2;
        QTest::newRow("Currency difference past the bottom") << 3;
        QTest::newRow("Integer step past 32767") << 4;
        QTest::newRow("Integer step below -32768") << 5;
        QTest::newRow("Currency of the lowest minus one unit") << 6;
    }

    void checked_arithmetic_overflows()
    {
        QFETCH(int, operation);
        constexpr auto top = std::numeric_limits<std::int64_t>::max();
        constexpr auto bottom = std::numeric_limits<std::int64_t>::min();
        const std::function<void()> operations[] = {
            [] { toInteger(Currency{327675000}); },
            [] { toInteger(Currency{-327690000}); },
            [] { sum(Currency{top}, Currency{1}); },
            [] { difference(Currency{bottom + 5}, Currency{6}); },
            [] { step(32767, +1); },
            [] { step(-32768, -1); },
            [] { sum(Currency{bottom}, Currency{-1}); },
        };
        QCOMPARE(errorOf(operations[operation]), std::optional(ErrorKind::Overflow));
    }

    void checked_arithmetic_at_its_limits()
    {
        constexpr auto top = std::numeric_limits<std::int64_t>::max();
        constexpr auto bottom = std::numeric_limits<std::int64_t>::min();
        QCOMPARE(sum(Currency{top - 1}, Currency{1}).units, top);
        QCOMPARE(difference(Currency{bottom + 1}, Currency{1}).units, bottom);
        QCOMPARE(difference(Currency{-1}, Currency{top}).units, bottom);
        QCOMPARE(int(step(32766, +1)), 32767);
        QCOMPARE(int(step(-32767, -1)), -32768);
    }

    void currency_to_floats_rounds_once_data()
    {
        QTest::addColumn<qint64>("units");
        QTest::addColumn<double>("asDouble");
        QTest::addColumn<float>("asSingle");
        QTest::newRow("fraction below one") << qint64(-625) << -0.0625 << -0.0625f;
        QTest::newRow("total rope length") << qint64(2222832) << 222.2832 << 222.283203125f;
        // Past 2^53 units a Double of the units would round before the division.
        QTest::newRow("units past 2^53, Double") << qint64(10995116933119997) << 1099511693311.9997 << 1099511693312.0f;
        QTest::newRow("units past 2^53, Single") << qint64(10995116933120001) << 1099511693312.0001 << 1099511758848.0f;
        QTest::newRow("negative, past 2^53") << qint64(-10995116933120001) << -1099511693312.0001 << -1099511758848.0f;
        QTest::newRow("largest") << std::numeric_limits<qint64>::max() << 922337203685477.5807 << 922337203685477.5807f;
    }

    void currency_to_floats_rounds_once()
    {
        QFETCH(qint64, units);
        QFETCH(double, asDouble);
        QFETCH(float, asSingle);
        QCOMPARE(toDouble(Currency{units}), asDouble);
        QCOMPARE(toSingle(Currency{units}), asSingle);
    }

    void double_against_currency_is_exact_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<qint64>("units");
        QTest::addColumn<int>("order");
        QTest::newRow("turns below the quotient") << 53.0 << qint64(533333) << -1;
        QTest::newRow("turns above the quotient") << 54.0 << qint64(535000) << 1;
        QTest::newRow("equal whole") << 10.0 << qint64(100000) << 0;
        QTest::newRow("negative floor") << -7.0 << qint64(-66667) << -1;
        QTest::newRow("fraction of opposite sign") << -0.5 << qint64(3000) << -1;
        QTest::newRow("a tenth is no Double") << 0.1 << qint64(1000) << 1;
        QTest::newRow("equal past 2^53 units") << -514401817547362.5625 << qint64(-5144018175473625625) << 0;
        QTest::newRow("one unit above a Double") << 1099511693312.0 << qint64(10995116933120001) << -1;
        QTest::newRow("beyond every Currency") << 1e300 << std::numeric_limits<qint64>::max() << 1;
        QTest::newRow("below every Currency") << -1e300 << std::numeric_limits<qint64>::min() << -1;
    }

    void double_against_currency_is_exact()
    {
        QFETCH(double, value);
        QFETCH(qint64, units);
        QFETCH(int, order);
        QCOMPARE(compare(value, Currency{units}), order);
    }

    void variant_result_kinds_data()
    {
        QTest::addColumn<int>("operation"); // 0 product, 1 sum, 2 quotient
        QTest::addColumn<Variant>("left");
        QTest::addColumn<Variant>("right");
        QTest::addColumn<VariantKind>("kind");
        QTest::addColumn<double>("value");
        const Variant empty;
        const Variant five(Integer{5});
        const Variant ten(Integer{10});
        const Variant single(1234.567f);
        const Variant half(5.5);
        const Variant cy(Currency{4150000});
        QTest::newRow("Single x Integer duty factor")
            << 0 << single << five << VariantKind::Single << double(6172.835f);
        QTest::newRow("Single x Double duty factor")
            << 0 << single << half << VariantKind::Double << double(1234.567f) * 5.5;
        QTest::newRow("Single x Empty duty factor") << 0 << single << empty << VariantKind::Single << 0.0;
        QTest::newRow("Empty x Empty") << 0 << empty << empty << VariantKind::Integer << 0.0;
        QTest::newRow("Integer x Integer") << 0 << five << ten << VariantKind::Integer << 50.0;
        QTest::newRow("Single beyond its range becomes Double")
            << 0 << Variant(singleMax) << Variant(Integer{3}) << VariantKind::Double << double(singleMax) * 3;
        QTest::newRow("Double x Single") << 0 << Variant(1.5) << Variant(2.0f) << VariantKind::Double << 3.0;
        QTest::newRow("Currency x Integer is Double") << 0 << cy << five << VariantKind::Double << 2075.0;
        QTest::newRow("Integer + Integer counter step")
            << 1 << five << Variant(Integer{1}) << VariantKind::Integer << 6.0;
        QTest::newRow("Single + Single rounds to Single")
            << 1 << Variant(0.1f) << Variant(0.2f) << VariantKind::Single << double(0.1f + 0.2f);
        QTest::newRow("Currency + Double is Currency") << 1 << cy << Variant(22.5) << VariantKind::Currency << 437.5;
        // The Single 0.00005 is a hair below 0.00005, so it converts to 0 units.
        QTest::newRow("Single + Currency converts the Single first")
            << 1 << Variant(0.00005f) << cy << VariantKind::Currency << 415.0;
        QTest::newRow("Empty + Currency") << 1 << empty << cy << VariantKind::Currency << 415.0;
        QTest::newRow("Single / Single") << 2 << Variant(5000.0f) << Variant(210.0f) << VariantKind::Single
                                         << double(static_cast<float>(5000.0 / 210.0));
        QTest::newRow("Integer / Integer is Single")
            << 2 << Variant(Integer{1}) << Variant(Integer{3}) << VariantKind::Single << double(1.0f / 3.0f);
        QTest::newRow("Single / Double is Double") << 2 << Variant(1.0f) << Variant(4.0) << VariantKind::Double << 0.25;
        QTest::newRow("Single quotient beyond its range becomes Double")
            << 2 << Variant(1e30f) << Variant(1e-30f) << VariantKind::Double << double(1e30f) / double(1e-30f);
    }

    void variant_result_kinds()
    {
        QFETCH(int, operation);
        QFETCH(Variant, left);
        QFETCH(Variant, right);
        QFETCH(VariantKind, kind);
        QFETCH(double, value);
        const Variant result = operation == 0 ? product(left, right)
            : operation == 1                  ? sum(left, right)
                                              : quotient(left, right);
        QCOMPARE(result.kind(), kind);
        QCOMPARE(result.toDouble(), value);
    }

    void variant_errors_data()
    {
        QTest::addColumn<int>("operation");
        QTest::addColumn<Variant>("left");
        QTest::addColumn<Variant>("right");
        QTest::addColumn<ErrorKind>("error");
        const Variant big(std::numeric_limits<double>::max());
        QTest::newRow("Double product beyond its range") << 0 << big << Variant(Integer{2}) << ErrorKind::Overflow;
        QTest::newRow("infinite Single operand")
            << 0 << Variant(std::numeric_limits<float>::infinity()) << Variant(Integer{5}) << ErrorKind::Overflow;
        QTest::newRow("Integer product beyond 16 bits")
            << 0 << Variant(Integer{300}) << Variant(Integer{300}) << ErrorKind::Overflow;
        QTest::newRow("Double sum beyond its range") << 1 << big << big << ErrorKind::Overflow;
        QTest::newRow("Currency sum of a huge Single")
            << 1 << Variant(Currency{0}) << Variant(1e30f) << ErrorKind::Overflow;
        QTest::newRow("quotient by Integer zero")
            << 2 << Variant(1.0f) << Variant(Integer{0}) << ErrorKind::DivisionByZero;
        QTest::newRow("quotient by Empty") << 2 << Variant(1.0f) << Variant() << ErrorKind::DivisionByZero;
        QTest::newRow("zero by zero") << 2 << Variant(0.0f) << Variant(-0.0f) << ErrorKind::DivisionByZero;
        QTest::newRow("Double quotient beyond its range") << 2 << big << Variant(0.5) << ErrorKind::Overflow;
    }

    void variant_errors()
    {
        QFETCH(int, operation);
        QFETCH(Variant, left);
        QFETCH(Variant, right);
        QFETCH(ErrorKind, error);
        const auto run = [&] {
            if (operation == 0)
                product(left, right);
            else if (operation == 1)
                sum(left, right);
            else
                quotient(left, right);
        };
        QCOMPARE(errorOf(run), std::optional(error));
    }

    void variant_comparisons_data()
    {
        QTest::addColumn<Variant>("left");
        QTest::addColumn<Variant>("right");
        QTest::addColumn<bool>("less");
        QTest::addColumn<bool>("equal");
        QTest::newRow("equal is not less") << Variant(50000.0f) << Variant(50000.0f) << false << true;
        QTest::newRow("Single below Double") << Variant(49999.0f) << Variant(55000.0) << true << false;
        QTest::newRow("Single 8.3 against Double 8.3") << Variant(8.3f) << Variant(8.3) << false << false;
        QTest::newRow("Empty is 0") << Variant() << Variant(Integer{0}) << false << true;
        QTest::newRow("negative below Empty") << Variant(-1.0f) << Variant() << true << false;
        QTest::newRow("minus zero equals zero") << Variant(-0.0f) << Variant(Integer{0}) << false << true;
        QTest::newRow("Integer counter against bound") << Variant(Integer{3}) << Variant(Integer{2}) << false << false;
        QTest::newRow("Currency against Integer") << Variant(Currency{20000}) << Variant(Integer{2}) << false << true;
        QTest::newRow("Double against Currency") << Variant(0.00005) << Variant(Currency{1}) << true << false;
        QTest::newRow("NaN is neither") << Variant(std::nan("")) << Variant(1.0) << false << false;
    }

    void variant_comparisons()
    {
        QFETCH(Variant, left);
        QFETCH(Variant, right);
        QFETCH(bool, less);
        QFETCH(bool, equal);
        QCOMPARE(lessThan(left, right), less);
        QCOMPARE(kalventa::equal(left, right), equal);
    }

    void counted_loop_data()
    {
        QTest::addColumn<Variant>("start");
        QTest::addColumn<Variant>("end");
        QTest::addColumn<Variant>("by");
        QTest::addColumn<std::vector<int>>("counters");
        const Variant zero(Integer{0});
        const Variant one(Integer{1});
        QTest::newRow("to an Empty bound runs once") << zero << Variant() << one << std::vector{0};
        QTest::newRow("0 to 5") << zero << Variant(Integer{5}) << one << std::vector{0, 1, 2, 3, 4, 5};
        QTest::newRow("end below start runs none") << zero << Variant(Integer{-1}) << one << std::vector<int>{};
        QTest::newRow("downwards") << Variant(Integer{2}) << zero << Variant(Integer{-1}) << std::vector{2, 1, 0};
        QTest::newRow("Single end") << zero << Variant(2.5f) << one << std::vector{0, 1, 2};
    }

    void counted_loop()
    {
        QFETCH(Variant, start);
        QFETCH(Variant, end);
        QFETCH(Variant, by);
        QFETCH(std::vector<int>, counters);
        std::vector<int> seen;
        countedLoop(start, end, by, [&](const Variant& counter) {
            QCOMPARE(counter.kind(), VariantKind::Integer);
            seen.push_back(counter.integer());
        });
        QCOMPARE(seen, counters);
    }

    void float_status_records_what_a_check_sees_data()
    {
        QTest::addColumn<int>("operation");
        QTest::addColumn<bool>("fails");
        QTest::newRow("product overflows the Double range") << 0 << true;
        QTest::newRow("narrowing overflows the Single range") << 1 << true;
        QTest::newRow("narrowing an infinity is no new overflow") << 2 << false;
        QTest::newRow("finite by zero") << 3 << true;
        QTest::newRow("zero by zero is invalid") << 4 << true;
        QTest::newRow("infinity minus infinity is invalid") << 5 << true;
        QTest::newRow("underflow is no error") << 6 << false;
        QTest::newRow("finite by infinity is no error") << 7 << false;
        QTest::newRow("zero times infinity is invalid") << 8 << true;
        QTest::newRow("the largest Single stays") << 9 << false;
    }

    void float_status_records_what_a_check_sees()
    {
        QFETCH(int, operation);
        QFETCH(bool, fails);
        FloatStatus status;
        FloatArithmetic fp(status);
        switch (operation) {
        case 0: fp.product(1e200, 1e200); break;
        case 1: fp.narrow(1e39); break;
        case 2: fp.narrow(inf); break;
        case 3: fp.quotient(1.0, 0.0); break;
        case 4: fp.quotient(0.0, 0.0); break;
        case 5: fp.sum(inf, -inf); break;
        case 6: fp.narrow(fp.product(1e-200, 1e-200)); break;
        case 7: fp.quotient(5.0, inf); break;
        case 8: fp.product(0.0, inf); break;
        case 9: fp.narrow(static_cast<double>(singleMax)); break;
        }
        QCOMPARE(errorOf([&] { status.check(); }), fails ? std::optional(ErrorKind::FloatingPoint) : std::nullopt);
    }

    void float_status_clears_and_names_the_first_origin()
    {
        FloatStatus status;
        FloatArithmetic fp(status);
        fp.workingOn(Quantity::LoadWeight);
        fp.narrow(1e39);
        fp.workingOn(Quantity::TurnsPerLayer);
        fp.quotient(1.0, 0.0);
        try {
            status.check();
            QFAIL("the check passed");
        } catch (const RuntimeError& e) {
            QCOMPARE(e.quantity(), Quantity::LoadWeight);
        }
        status.clear();
        status.check();
        QCOMPARE(status.flags(), std::uint8_t{0});
    }
};

QTEST_GUILESS_MAIN(ValueRulesTest)
#include "value_rules_test.moc"
