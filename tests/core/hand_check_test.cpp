// Every substituted formula of a run checked by hand, as a checker with pencil
// and paper would: the printed operands (an operand's exact value where one
// is printed beside it) are worked out in exact decimal arithmetic, each
// printed rounding step is redone by its stated rule, and every link of the
// chain "= … = …" must hold to the printed digits.

#include "core/calculation_table.h"
#include "core/formulas.h"
#include "memory_controls.h"

#include <QTest>

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <limits>
#include <map>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

using namespace kalventa;
using kalventa::testing::MemoryControls;

using Entries = std::map<std::string, std::string>;
Q_DECLARE_METATYPE(Entries)

namespace {

// A whole number of any size: its sign and decimal digits, least significant first.
struct Big {
    bool negative = false;
    std::vector<int> digits; // no leading zeros; zero has none

    static Big of(long long value)
    {
        Big b;
        b.negative = value < 0;
        for (unsigned long long m
             = value < 0 ? 0ULL - static_cast<unsigned long long>(value) : static_cast<unsigned long long>(value);
             m; m /= 10)
            b.digits.push_back(static_cast<int>(m % 10));
        return b;
    }
    bool zero() const { return digits.empty(); }
    void trim()
    {
        while (!digits.empty() && digits.back() == 0)
            digits.pop_back();
        if (digits.empty())
            negative = false;
    }
};

int compareMagnitude(const Big& a, const Big& b)
{
    if (a.digits.size() != b.digits.size())
        return a.digits.size() < b.digits.size() ? -1 : 1;
    for (std::size_t i = a.digits.size(); i-- > 0;)
        if (a.digits[i] != b.digits[i])
            return a.digits[i] < b.digits[i] ? -1 : 1;
    return 0;
}

Big addMagnitudes(const Big& a, const Big& b)
{
    Big r;
    int carry = 0;
    for (std::size_t i = 0; i < std::max(a.digits.size(), b.digits.size()) || carry; ++i) {
        const int s = carry + (i < a.digits.size() ? a.digits[i] : 0) + (i < b.digits.size() ? b.digits[i] : 0);
        r.digits.push_back(s % 10);
        carry = s / 10;
    }
    return r;
}

Big subtractMagnitudes(const Big& a, const Big& b) // |a| ≥ |b|
{
    Big r;
    int borrow = 0;
    for (std::size_t i = 0; i < a.digits.size(); ++i) {
        int s = a.digits[i] - borrow - (i < b.digits.size() ? b.digits[i] : 0);
        borrow = s < 0;
        r.digits.push_back(s + 10 * borrow);
    }
    r.trim();
    return r;
}

Big operator+(const Big& a, const Big& b)
{
    if (a.negative == b.negative) {
        Big r = addMagnitudes(a, b);
        r.negative = a.negative;
        r.trim();
        return r;
    }
    const bool aLarger = compareMagnitude(a, b) >= 0;
    Big r = aLarger ? subtractMagnitudes(a, b) : subtractMagnitudes(b, a);
    r.negative = !r.zero() && (aLarger ? a.negative : b.negative);
    return r;
}

Big operator-(Big a)
{
    a.negative = !a.negative && !a.zero();
    return a;
}

Big operator*(const Big& a, const Big& b)
{
    Big r;
    r.digits.assign(a.digits.size() + b.digits.size() + 1, 0);
    for (std::size_t i = 0; i < a.digits.size(); ++i) {
        int carry = 0;
        for (std::size_t j = 0; j < b.digits.size() || carry; ++j) {
            const int s = r.digits[i + j] + carry + (j < b.digits.size() ? a.digits[i] * b.digits[j] : 0);
            r.digits[i + j] = s % 10;
            carry = s / 10;
        }
    }
    r.negative = a.negative != b.negative;
    r.trim();
    return r;
}

// Floor division by a positive whole number.
Big floorDivide(const Big& a, const Big& b)
{
    Big q;
    Big rest;
    q.digits.assign(a.digits.size(), 0);
    for (std::size_t i = a.digits.size(); i-- > 0;) {
        rest.digits.insert(rest.digits.begin(), a.digits[i]);
        rest.trim();
        while (compareMagnitude(rest, b) >= 0) {
            rest = subtractMagnitudes(rest, b);
            ++q.digits[i];
        }
    }
    q.trim();
    if (a.negative) {
        q.negative = !q.zero();
        if (!rest.zero())
            q = q + Big::of(-1);
    }
    return q;
}

Big power(long long base, int exponent)
{
    Big r = Big::of(1);
    for (int k = 0; k < exponent; ++k)
        r = r * Big::of(base);
    return r;
}

// An exact rational number, the denominator positive.
struct Exact {
    Big num = Big::of(0);
    Big den = Big::of(1);
};

Exact operator+(const Exact& a, const Exact& b)
{
    return {a.num * b.den + b.num * a.den, a.den * b.den};
}
Exact operator-(const Exact& a, const Exact& b)
{
    return a + Exact{-b.num, b.den};
}
Exact operator*(const Exact& a, const Exact& b)
{
    return {a.num * b.num, a.den * b.den};
}
std::optional<Exact> operator/(const Exact& a, const Exact& b)
{
    if (b.num.zero())
        return std::nullopt;
    Exact r{a.num * b.den, a.den * b.num};
    if (r.den.negative) {
        r.den.negative = false;
        r.num = -r.num;
    }
    return r;
}
int compare(const Exact& a, const Exact& b)
{
    const Big d = a.num * b.den + -(b.num * a.den);
    return d.zero() ? 0 : d.negative ? -1 : 1;
}
Exact whole(const Big& b)
{
    return {b, Big::of(1)};
}
Exact floorOf(const Exact& a)
{
    return whole(floorDivide(a.num, a.den));
}
Exact ceilingOf(const Exact& a)
{
    return whole(-floorDivide(-a.num, a.den));
}
Exact absolute(Exact a)
{
    a.num.negative = false;
    return a;
}

// A printed number: "-12.5", ".0625", "1.407375E+14", "1E-05"; its value and
// the place of its last digit (the number is 10^place units of that digit).
struct Printed {
    Exact value;
    int place = 0;
};

std::optional<Printed> readPrinted(std::string_view text)
{
    Big mantissa;
    bool negative = false;
    std::size_t i = 0;
    if (i < text.size() && text[i] == '-') {
        negative = true;
        ++i;
    }
    int place = 0;
    bool point = false;
    bool any = false;
    std::vector<int> seen;
    for (; i < text.size() && (std::isdigit(static_cast<unsigned char>(text[i])) || text[i] == '.'); ++i) {
        if (text[i] == '.') {
            if (point)
                return std::nullopt;
            point = true;
            continue;
        }
        any = true;
        seen.push_back(text[i] - '0');
        if (point)
            --place;
    }
    if (!any)
        return std::nullopt;
    if (i < text.size() && text[i] == 'E') {
        int exponent = 0;
        const char* first = text.data() + i + 1 + (text.substr(i + 1).starts_with('+') ? 1 : 0);
        const auto [end, ec] = std::from_chars(first, text.data() + text.size(), exponent);
        if (ec != std::errc{} || end != text.data() + text.size())
            return std::nullopt;
        place += exponent;
    } else if (i != text.size()) {
        return std::nullopt;
    }
    mantissa.digits.assign(seen.rbegin(), seen.rend());
    mantissa.trim();
    mantissa.negative = negative && !mantissa.zero();
    Exact value = place >= 0 ? whole(mantissa * power(10, place)) : Exact{mantissa, power(10, -place)};
    return Printed{value, place};
}

// Within half a unit of the printed number's last digit.
bool agrees(const Exact& value, const Printed& printed)
{
    const Exact halfUnit = printed.place >= 0 ? Exact{power(10, printed.place), Big::of(2)}
                                              : Exact{Big::of(1), power(10, -printed.place) * Big::of(2)};
    return compare(absolute(value - printed.value), halfUnit) <= 0;
}

// Rounded to 4 decimals, a value half-way to the even last digit.
Exact toFourDecimals(const Exact& value)
{
    const Exact scaled = value * whole(power(10, 4));
    Exact lower = floorOf(scaled);
    const int half = compare(scaled - lower, Exact{Big::of(1), Big::of(2)});
    const bool odd = !lower.num.digits.empty() && lower.num.digits[0] % 2 == 1;
    if (half > 0 || (half == 0 && odd))
        lower = lower + whole(Big::of(1));
    return Exact{lower.num, power(10, 4)};
}

Exact exactOf(double value)
{
    int exponent = 0;
    const double fraction = std::frexp(value, &exponent);
    const auto mantissa = static_cast<long long>(std::ldexp(fraction, 53));
    exponent -= 53;
    return exponent >= 0 ? whole(Big::of(mantissa) * power(2, exponent))
                         : Exact{Big::of(mantissa), power(2, -exponent)};
}

// The float the text is the exact value of, if it is one.
template <class Float>
std::optional<Float> floatOf(std::string_view text)
{
    Float f = 0;
    const auto printed = readPrinted(text);
    if (std::from_chars(text.data(), text.data() + text.size(), f).ec != std::errc{} || !std::isfinite(f) || !printed
        || compare(exactOf(static_cast<double>(f)), printed->value) != 0)
        return std::nullopt;
    return f;
}

// Whether the text is the float nearest to `value`, a tie to the even one.
template <class Float>
bool nearest(const Exact& value, std::string_view text)
{
    const auto f = floatOf<Float>(text);
    if (!f)
        return false;
    int exponent = 0;
    const int digits = std::numeric_limits<Float>::digits;
    const bool even = static_cast<long long>(std::ldexp(std::frexp(*f, &exponent), digits)) % 2 == 0;
    const Exact distance = absolute(value - exactOf(*f));
    for (const Float neighbour : {std::nextafter(*f, -std::numeric_limits<Float>::infinity()),
                                  std::nextafter(*f, std::numeric_limits<Float>::infinity())}) {
        const int order = compare(distance, absolute(value - exactOf(neighbour)));
        if (order > 0 || (order == 0 && !even))
            return false;
    }
    return true;
}

// A plain decimal text times 10000: "12.5" gives "125000".
std::string tenThousandfold(std::string_view text)
{
    std::string digits(text);
    std::size_t point = digits.find('.');
    if (point == std::string::npos)
        point = digits.size();
    else
        digits.erase(point, 1);
    digits.append(point + 4 > digits.size() ? point + 4 - digits.size() : 0, '0');
    if (point + 4 < digits.size())
        digits.insert(point + 4, ".");
    return digits;
}

// One side of "=": its value with each rounding step taken (post), and with
// each rounding step's printed value before it (pre), and when it is one
// number alone, that number as printed.
struct Value {
    Exact pre;
    Exact post;
    std::optional<Printed> alone;
};

class Expression {
public:
    explicit Expression(std::string_view text)
        : text_(text)
    {
    }

    std::optional<Value> parse()
    {
        auto v = sum();
        skipBlanks();
        if (!v || at_ != text_.size())
            return fail("unread text");
        return v;
    }

    std::string error;

private:
    std::optional<Value> fail(std::string why)
    {
        if (error.empty())
            error = why + " at «" + std::string(text_.substr(at_)) + "»";
        return std::nullopt;
    }
    void skipBlanks()
    {
        while (at_ < text_.size() && text_[at_] == ' ')
            ++at_;
    }
    bool take(std::string_view token)
    {
        skipBlanks();
        if (!text_.substr(at_).starts_with(token))
            return false;
        at_ += token.size();
        return true;
    }

    std::optional<Value> sum()
    {
        auto left = productOf();
        while (left) {
            const bool plus = take("+");
            if (!plus && !take("−"))
                break;
            const auto right = productOf();
            if (!right)
                return std::nullopt;
            left = Value{plus ? left->pre + right->pre : left->pre - right->pre,
                         plus ? left->post + right->post : left->post - right->post,
                         {}};
        }
        return left;
    }

    std::optional<Value> productOf()
    {
        auto left = factor();
        while (left) {
            const bool times = take("·");
            if (!times && !take("/"))
                break;
            const auto right = factor();
            if (!right)
                return std::nullopt;
            if (times) {
                left = Value{left->pre * right->pre, left->post * right->post, {}};
            } else {
                const auto pre = left->pre / right->pre;
                const auto post = left->post / right->post;
                if (!pre || !post)
                    return fail("division by zero");
                left = Value{*pre, *post, {}};
            }
        }
        return left;
    }

    std::optional<Value> factor()
    {
        for (const auto& [open, close, ceiling] :
             {std::tuple{"(", ")", -1}, std::tuple{"⌊", "⌋", 0}, std::tuple{"⌈", "⌉", 1}}) {
            if (!take(open))
                continue;
            auto inner = sum();
            if (!inner || !take(close))
                return fail(std::string("no ") + close);
            if (ceiling == 0)
                return Value{floorOf(inner->pre), floorOf(inner->post), {}};
            if (ceiling == 1)
                return Value{ceilingOf(inner->pre), ceilingOf(inner->post), {}};
            return inner; // a negative number stays one number
        }
        return number();
    }

    std::string_view word()
    {
        skipBlanks();
        const std::size_t start = at_;
        while (at_ < text_.size()
               && (std::isdigit(static_cast<unsigned char>(text_[at_]))
                   || std::string_view(".E+-").find(text_[at_]) != std::string_view::npos))
            ++at_;
        return text_.substr(start, at_ - start);
    }

    // A number, its exact value in brackets when printed, then any rounding
    // steps: "8.3 (одинарная точность: 8.30000019073486328125)",
    // "49.9999908447266 → 50.0000 (округлено до 4 знаков)".
    std::optional<Value> number()
    {
        const auto printed = readPrinted(word());
        if (!printed)
            return fail("no number");
        Value v{printed->value, printed->value, printed};
        for (const std::string_view kind : {"(одинарная точность: ", "(двойная точность: "}) {
            if (take(kind)) {
                const std::string_view digits = word();
                const auto exact = readPrinted(digits);
                if (!exact || !take(")"))
                    return fail("no exact value");
                if (kind.starts_with("(о") ? !floatOf<float>(digits) : !floatOf<double>(digits))
                    return fail("no value of that kind");
                if (!agrees(exact->value, *printed))
                    return fail("exact value far from the printed one");
                v = Value{exact->value, exact->value, exact};
            }
        }
        while (take("→")) {
            const std::string_view rounded = word();
            const auto to = readPrinted(rounded);
            if (!to)
                return fail("no rounded value");
            if (take("(округлено до 4 знаков)")) {
                if (compare(toFourDecimals(v.post), to->value) != 0)
                    return fail("not rounded to 4 decimals");
            } else if (take("(округлено до одинарной точности)")) {
                if (!nearest<float>(v.post, rounded))
                    return fail("not the nearest Single");
            } else if (take("(округлено до двойной точности)")) {
                if (!nearest<double>(v.post, rounded))
                    return fail("not the nearest Double");
            } else if (take("(округлено до двойной точности в десятитысячных)")) {
                if (!nearest<double>(v.post * whole(power(10, 4)), tenThousandfold(rounded)))
                    return fail("not the nearest Double in ten-thousandths");
            } else {
                return fail("no rounding rule");
            }
            v.post = to->value;
        }
        return v;
    }

    std::string_view text_;
    std::size_t at_ = 0;
};

// Splits at " = ".
std::vector<std::string> sides(std::string_view line)
{
    std::vector<std::string> out;
    for (std::size_t start = 0;;) {
        const std::size_t at = line.find(" = ", start);
        out.emplace_back(line.substr(start, at - start));
        if (at == std::string_view::npos)
            return out;
        start = at + 3;
    }
}

// Whether one side of "=" follows from the side before it: the same value,
// or the printed number it rounds to.
bool follows(const Value& was, const Value& is)
{
    return is.alone ? agrees(was.post, *is.alone) : compare(was.post, is.pre) == 0;
}

// What is wrong with a substituted formula, or nothing.
std::string handCheck(const QuantityLine& line)
{
    std::string text = line.substituted;
    if (const std::size_t note = text.find(" — "); note != std::string::npos)
        text.erase(note);
    const std::string unit(line.entry->unit);
    if (!unit.empty() && text.ends_with(" " + unit))
        text.erase(text.size() - unit.size() - 1);
    std::vector<std::string> chain = sides(text);
    if (chain.size() < 4)
        return "no values substituted";
    chain.erase(chain.begin(), chain.begin() + 2); // the symbol and the formula in symbols
    std::optional<Value> before;
    for (const std::string& side : chain) {
        Expression whole(side);
        const auto value = whole.parse();
        if (!value)
            return "«" + side + "»: " + whole.error;
        if (before && !follows(*before, *value))
            return "«" + side + "» does not follow from the side before it";
        before = value;
    }
    return {};
}

RunRecord run(const char* button, const Entries& entries)
{
    MemoryControls window = MemoryControls::with(entries);
    return recordRun(*calculationOf(button), window);
}

} // namespace

class HandCheckTest : public QObject {
    Q_OBJECT

private slots:
    void every_formula_checks_by_hand_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<Entries>("entries");
        QTest::addColumn<int>("formulas"); // how many have values substituted
        const Entries capacity{{"Text4", "400"}, {"Text5", "800"}, {"Text6", "15"},  {"Text7", "5000"},
                               {"Combo1", "2"},  {"Combo2", "0"},  {"Option5", "on"}};
        // clang-format off
        QTest::newRow("turns: the quotient rounded before the floor") << "Command3" << Entries{{"Text5", "499.9999"}, {"Text6", "10"}} << 8;
        QTest::newRow("capacity: S used with its Single digits") << "Command3" << Entries{{"Text4", "400"}, {"Text5", "800"}, {"Text6", "0"}, {"Text7", "5000"}} << 8;
        QTest::newRow("tension: a load held as a Single") << "Command1" << Entries{{"Text1", "8.3"}, {"Option2", "on"}} << 1;
        QTest::newRow("tension, the worked sample") << "Command1" << Entries{{"Text1", "1000,5"}, {"Text3", "50000"}, {"Option2", "on"}} << 1;
        QTest::newRow("tension, light duty") << "Command1" << Entries{{"Text1", "8.3"}, {"Option1", "on"}} << 1;
        QTest::newRow("tension, heavy duty, a narrowing") << "Command1" << Entries{{"Text1", "0.1234567"}, {"Option3", "on"}} << 1;
        QTest::newRow("tension, traction duty") << "Command1" << Entries{{"Text1", "1000.7"}, {"Option4", "on"}} << 1;
        QTest::newRow("tension, no duty class") << "Command1" << Entries{{"Text1", "1000"}, {"Text3", "50000"}} << 1;
        QTest::newRow("tension beyond the Single range") << "Command1" << Entries{{"Text1", "3E+37"}, {"Option3", "on"}} << 1;
        QTest::newRow("tension, negative") << "Command1" << Entries{{"Text1", "-16777217"}, {"Option1", "on"}} << 1;
        QTest::newRow("tension, empty fields") << "Command1" << Entries{} << 1;
        QTest::newRow("drum limits") << "Command2" << Entries{{"Text2", "12"}} << 2;
        QTest::newRow("drum limits, a fraction") << "Command2" << Entries{{"Text2", "8.3"}} << 2;
        QTest::newRow("drum limits, negative whole") << "Command2" << Entries{{"Text2", "-3"}} << 2;
        QTest::newRow("drum limits, negative") << "Command2" << Entries{{"Text2", "-3.77"}} << 2;
        QTest::newRow("drum limits, large") << "Command2" << Entries{{"Text2", "1.5E+36"}} << 2;
        QTest::newRow("drum limits, small") << "Command2" << Entries{{"Text2", "1E-30"}} << 2;
        QTest::newRow("drum limits, empty") << "Command2" << Entries{} << 2;
        QTest::newRow("capacity, the worked sample") << "Command3" << capacity << 8;
        QTest::newRow("capacity, nothing chosen") << "Command3" << Entries{{"Text4", "400"}, {"Text5", "800"}, {"Text6", "15"}, {"Text7", "5000"}} << 8;
        QTest::newRow("capacity, empty fields") << "Command3" << Entries{} << 8;
        QTest::newRow("capacity, negative values") << "Command3" << Entries{{"Text4", "-400.3"}, {"Text5", "-800.5"}, {"Text6", "-15.3"}, {"Text7", "-5000"}, {"Combo1", "1"}, {"Combo2", "1"}, {"Option6", "on"}} << 8;
        QTest::newRow("capacity, one layer, welded steel, 1.5d") << "Command3" << Entries{{"Text4", "123.45"}, {"Text5", "1000.7"}, {"Text6", "3.3"}, {"Text7", "777.7"}, {"Combo1", "0"}, {"Combo2", "0"}, {"Option5", "on"}} << 8;
        QTest::newRow("capacity, two layers, cast iron, 2d") << "Command3" << Entries{{"Text4", "123.45"}, {"Text5", "1000.7"}, {"Text6", "3.3"}, {"Text7", "777.7"}, {"Combo1", "1"}, {"Combo2", "1"}, {"Option6", "on"}} << 8;
        QTest::newRow("capacity, three layers, no material") << "Command3" << Entries{{"Text4", "0.3"}, {"Text5", "1000.1"}, {"Text6", "0.1"}, {"Text7", "7.7"}, {"Combo1", "2"}} << 8;
        QTest::newRow("capacity, four layers") << "Command3" << Entries{{"Text4", "301.7"}, {"Text5", "99.99"}, {"Text6", "0.7"}, {"Text7", "1234.5"}, {"Combo1", "3"}, {"Combo2", "1"}, {"Option5", "on"}} << 8;
        QTest::newRow("capacity, five layers") << "Command3" << Entries{{"Text4", "16777.3"}, {"Text5", "3000.3"}, {"Text6", "1.1"}, {"Text7", "99999"}, {"Combo1", "4"}, {"Combo2", "0"}, {"Option6", "on"}} << 8;
        QTest::newRow("capacity, six layers") << "Command3" << Entries{{"Text4", "2000"}, {"Text5", "32767"}, {"Text6", "10.01"}, {"Text7", "1E+6"}, {"Combo1", "5"}, {"Combo2", "1"}, {"Option5", "on"}} << 8;
        QTest::newRow("capacity, a Single sum far apart in size") << "Command3" << Entries{{"Text4", "7E+12"}, {"Text5", "0.77"}, {"Text6", "2044.81"}, {"Text7", "2682"}, {"Combo1", "0"}, {"Combo2", "1"}, {"Option5", "on"}} << 8;
        QTest::newRow("capacity, 0.9 · S narrowed") << "Command3" << Entries{{"Text4", "0.4682"}, {"Text5", "3423.3182"}, {"Text6", "-166.5379"}, {"Text7", "4.7615"}, {"Combo1", "0"}, {"Combo2", "1"}, {"Option5", "on"}} << 8;
        QTest::newRow("capacity, negative S narrowed") << "Command3" << Entries{{"Text4", "1737.3336"}, {"Text5", "-72.6615"}, {"Text6", "0.275433"}, {"Text7", "-205.3329"}, {"Combo1", "4"}, {"Combo2", "0"}, {"Option5", "on"}} << 8;
        QTest::newRow("capacity, flange terms rounded to 4 decimals") << "Command3" << Entries{{"Text4", "96E+9"}, {"Text5", "-347.1974"}, {"Text6", "670.5963"}, {"Text7", "4756.3303"}, {"Combo1", "2"}, {"Combo2", "1"}, {"Option5", "on"}} << 8;
        QTest::newRow("capacity, rope lengths of 10^13 m in Doubles") << "Command3" << Entries{{"Text4", "55E+10"}, {"Text5", "7E+5"}, {"Text6", "69"}, {"Text7", "0.1949"}, {"Combo1", "4"}, {"Combo2", "0"}, {"Option5", "on"}} << 8;
        QTest::newRow("capacity, stopped in layer two") << "Command3" << Entries{{"Text4", "562949953421312"}, {"Text6", "140737488355328"}, {"Combo1", "1"}} << 6;
        QTest::newRow("capacity, stopped at layer two's length") << "Command3" << Entries{{"Text4", "5.86e13"}, {"Text5", "5e14"}, {"Text6", "1e11"}, {"Text7", "1"}, {"Combo1", "1"}, {"Option6", "on"}} << 6;
        // clang-format on
    }

    void every_formula_checks_by_hand()
    {
        QFETCH(QString, button);
        QFETCH(Entries, entries);
        QFETCH(int, formulas);
        const RunRecord record = run(button.toLatin1().constData(), entries);
        int checked = 0;
        for (const QuantityLine& line : resultsOf(record)) {
            if (line.substituted.empty() || line.entry->formula.empty())
                continue;
            ++checked;
            const std::string fault = handCheck(line);
            QVERIFY2(fault.empty(), (line.substituted + "\n    " + fault).c_str());
        }
        QCOMPARE(checked, formulas);
    }

    // The checker itself: faults it has to find.
    void the_checker_finds_faults_data()
    {
        QTest::addColumn<QString>("line");
        QTest::newRow("a floor taken of the rounded quotient unseen") << "n = ⌊L / d⌋ = ⌊499.9999 / 10⌋ = 50";
        QTest::newRow("a product of the printed digits") << "Sк = 0.9 · S = 0.9 · 1007.822 = 907.0399 м";
        QTest::newRow("a Single's digits unseen") << "Sмин = Q · k · 10 = 8.3 · 5.5 · 10 = 456.500010490417 Н";
        QTest::newRow("a wrong exact value") << "Dмин = 19 · d = 19 · 8.3 (одинарная точность: 8.3000001) = 157.7 мм";
        QTest::newRow("rounded wrongly")
            << "n = ⌊L / d⌋ = ⌊2.00005 / 1⌋ = ⌊2.00005 → 2.0001 (округлено до 4 знаков)⌋ = 2";
        QTest::newRow("no nearest Single")
            << "Sк = 0.9 · S = 0.9 · 3 = 2.7 → 2.700000286102294921875 (округлено до одинарной точности) = 2.7 м";
        QTest::newRow("not a Single") << "Sк = 0.9 · S = 0.9 · 3 = 2.7 → 2.7 (округлено до одинарной точности) = 2.7 м";
    }

    void the_checker_finds_faults()
    {
        QFETCH(QString, line);
        const std::string text = line.toStdString();
        const QuantityEntry* entry = nullptr;
        for (const QuantityEntry& e : catalogue())
            if (e.role == Role::Result && text.starts_with(std::string(e.symbol) + " = "))
                entry = &e;
        QVERIFY(entry);
        QuantityLine parsed;
        parsed.entry = entry;
        parsed.substituted = text;
        QVERIFY(!handCheck(parsed).empty());
    }
};

QTEST_GUILESS_MAIN(HandCheckTest)
#include "hand_check_test.moc"
