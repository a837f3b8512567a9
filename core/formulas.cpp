#include "core/formulas.h"

#include "core/calculation_table.h"
#include "core/conversions.h"
#include "core/decimal_conversion.h"
#include "core/error_text.h"
#include "core/meanings.h"
#include "core/number_to_text.h"
#include "core/runtime_error.h"
#include "core/variant.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <optional>
#include <utility>

namespace kalventa {
namespace {

using enum Quantity;

bool isChoice(const QuantityEntry& entry)
{
    return entry.role == Role::Choice;
}
bool isResult(const QuantityEntry& entry)
{
    return entry.role == Role::Result;
}

// Replaces every {token} of `pattern` by what `fill` gives for it.
template <class Fill>
std::string expand(std::string_view pattern, Fill&& fill)
{
    std::string out;
    for (std::size_t i = 0; i < pattern.size();) {
        const std::size_t open = pattern.find('{', i);
        const std::size_t close = open == std::string_view::npos ? open : pattern.find('}', open);
        if (close == std::string_view::npos) {
            out.append(pattern.substr(i));
            break;
        }
        out.append(pattern.substr(i, open - i));
        out.append(fill(pattern.substr(open + 1, close - open - 1)));
        i = close + 1;
    }
    return out;
}

std::string withUnit(std::string value, std::string_view unit)
{
    if (!unit.empty())
        value.append(" ").append(unit);
    return value;
}

// A number text as its significant digits and the decimal exponent of the
// first: "1E+11" and "100000000000" both give ("1", 11).
std::pair<std::string, int> significant(std::string_view text)
{
    std::string digits;
    int point = 0; // digits before the point
    bool seenPoint = false;
    std::size_t i = text.starts_with('-') ? 1 : 0;
    for (; i < text.size() && text[i] != 'E'; ++i) {
        if (text[i] == '.') {
            seenPoint = true;
            continue;
        }
        if (digits.empty() && text[i] == '0') {
            point -= seenPoint ? 1 : 0;
            continue;
        }
        digits += text[i];
        point += seenPoint ? 0 : 1;
    }
    int exponent = 0;
    if (i + 1 < text.size()) { // "E+14", "E-05"
        const char* first = text.data() + i + 1;
        std::from_chars(first + (*first == '+' ? 1 : 0), text.data() + text.size(), exponent);
    }
    while (!digits.empty() && digits.back() == '0')
        digits.pop_back();
    return {digits, point - 1 + exponent};
}

// A negative value in brackets, as it stands in a formula.
std::string bracketed(std::string text)
{
    return text.starts_with('-') ? "(" + text + ")" : text;
}

// A value as it stands in a substituted formula, negative ones in brackets;
// a Single or Double whose text is not its exact value has that beside it,
// since the calculation works with the exact value:
// "8.3 (одинарная точность: 8.30000019073486328125)".
std::string operand(const Variant& value)
{
    std::string text = valueText(value);
    const bool single = value.kind() == VariantKind::Single;
    if ((single || value.kind() == VariantKind::Double) && std::isfinite(value.toDouble())) {
        const std::string exact = exactText(value.toDouble());
        if (significant(exact) != significant(text))
            text.append(single ? " (одинарная точность: " : " (двойная точность: ").append(exact).append(")");
    }
    return bracketed(text);
}

// A Currency value with all four of its decimals, as a rounding to them gives it.
std::string fourDecimals(Currency value)
{
    const std::uint64_t units
        = value.units < 0 ? 0 - static_cast<std::uint64_t>(value.units) : static_cast<std::uint64_t>(value.units);
    std::string decimals = std::to_string(units % 10000);
    decimals.insert(0, 4 - decimals.size(), '0');
    // Appended in turn: GCC 12 takes "-" + std::string for an overlapping copy
    // (-Wrestrict) when it inlines it in a release build.
    std::string text = value.units < 0 ? "-" : "";
    text.append(std::to_string(units / 10000)).append(".").append(decimals);
    return text;
}

// An exact decimal, ±digits × 10^exponent: what a hand calculation gets
// where a Double would round, as in a sum of Singles far apart in size or a
// product with 0.9.
struct Decimal {
    bool negative = false;
    std::string digits; // most significant first
    int exponent = 0;
};

// From an exact text: "-12.5", "0.125", "300".
Decimal decimalOf(std::string_view text)
{
    Decimal x;
    x.negative = text.starts_with('-');
    text.remove_prefix(x.negative ? 1 : 0);
    const std::size_t point = text.find('.');
    x.digits = std::string(text.substr(0, point));
    if (point != std::string_view::npos) {
        x.digits.append(text.substr(point + 1));
        x.exponent = -static_cast<int>(text.size() - point - 1);
    }
    return x;
}

// In exactText's form.
std::string textOf(Decimal x)
{
    if (x.exponent > 0)
        x.digits.append(static_cast<std::size_t>(x.exponent), '0');
    const std::size_t decimals = x.exponent < 0 ? static_cast<std::size_t>(-x.exponent) : 0;
    if (x.digits.size() <= decimals)
        x.digits.insert(0, decimals + 1 - x.digits.size(), '0');
    std::string whole = x.digits.substr(0, x.digits.size() - decimals);
    std::string fraction = x.digits.substr(x.digits.size() - decimals);
    whole.erase(0, std::min(whole.find_first_not_of('0'), whole.size() - 1));
    fraction.erase(fraction.find_last_not_of('0') + 1);
    const bool zero = whole == "0" && fraction.empty();
    return (x.negative && !zero ? "-" : "") + whole + (fraction.empty() ? "" : "." + fraction);
}

Decimal operator+(Decimal a, Decimal b)
{
    const int exponent = std::min(a.exponent, b.exponent);
    a.digits.append(static_cast<std::size_t>(a.exponent - exponent), '0');
    b.digits.append(static_cast<std::size_t>(b.exponent - exponent), '0');
    const std::size_t size = std::max(a.digits.size(), b.digits.size()) + 1;
    a.digits.insert(0, size - a.digits.size(), '0');
    b.digits.insert(0, size - b.digits.size(), '0');
    const bool subtract = a.negative != b.negative;
    if (subtract && a.digits < b.digits)
        std::swap(a, b);
    std::string digits(size, '0');
    int carry = 0;
    for (std::size_t i = size; i-- > 0;) {
        int v = (a.digits[i] - '0') + (subtract ? -1 : 1) * (b.digits[i] - '0') + carry;
        carry = v < 0 ? -1 : v / 10;
        v = v < 0 ? v + 10 : v % 10;
        digits[i] = static_cast<char>('0' + v);
    }
    return {a.negative, digits, exponent};
}

Decimal operator*(const Decimal& a, const Decimal& b)
{
    std::vector<int> sums(a.digits.size() + b.digits.size(), 0);
    for (std::size_t i = 0; i < a.digits.size(); ++i)
        for (std::size_t j = 0; j < b.digits.size(); ++j)
            sums[i + j + 1] += (a.digits[i] - '0') * (b.digits[j] - '0');
    for (std::size_t k = sums.size(); k-- > 1;) {
        sums[k - 1] += sums[k] / 10;
        sums[k] %= 10;
    }
    std::string digits;
    for (const int digit : sums)
        digits += static_cast<char>('0' + digit);
    return {a.negative != b.negative, digits, a.exponent + b.exponent};
}

// The exact sum and product of two floats.
std::string exactSum(Double a, Double b)
{
    return textOf(decimalOf(exactText(a)) + decimalOf(exactText(b)));
}
std::string exactProduct(std::string_view written, Double b)
{
    return textOf(decimalOf(written) * decimalOf(exactText(b)));
}

Decimal negated(Decimal x)
{
    x.negative = !x.negative;
    return x;
}

// Whether an exact value lies within half a unit of the fourth decimal of a
// Currency value, so that working it out by hand gives that value's digits.
bool withinHalfUnit(const Decimal& exact, Currency value)
{
    Decimal gap = exact + negated(decimalOf(fourDecimals(value)));
    gap.negative = false;
    const Decimal beyond = gap + Decimal{true, "5", -5};
    return beyond.negative || beyond.digits.find_first_not_of('0') == std::string::npos;
}

// A value worked out on the way and the roundings the kinds made of it, each
// one written where it changed the value:
// "49.9999908447266 → 50.0000 (округлено до 4 знаков)".
class Rounded {
public:
    explicit Rounded(std::string value)
        : text_(std::move(value))
    {
    }
    Rounded& toSingle(Single value)
    {
        text_.append(" → ").append(exactText(value)).append(" (округлено до одинарной точности)");
        return *this;
    }
    // Where `exact`, the value so far, is not a Double.
    Rounded& toDouble(std::string_view exact, Double value)
    {
        if (significant(exactText(value)) != significant(exact))
            text_.append(" → ").append(exactText(value)).append(" (округлено до двойной точности)");
        return *this;
    }
    // A value whose number of ten-thousandths was rounded to a Double: `exact`.
    Rounded& inTenThousandths(std::string_view exact)
    {
        text_.append(" → ").append(exact).append(" (округлено до двойной точности в десятитысячных)");
        return *this;
    }
    Rounded& toFourDecimals(Currency value)
    {
        text_.append(" → ").append(fourDecimals(value)).append(" (округлено до 4 знаков)");
        return *this;
    }
    // A Single or Double result of a Variant operation on `exact`, narrowed
    // when it is a Single other than that.
    Rounded& toKindOf(const Variant& result, Double exact)
    {
        return result.kind() == VariantKind::Single && result.toDouble() != exact ? toSingle(result.single()) : *this;
    }
    // The same for a result worked out exactly as `exact`.
    Rounded& toKindOf(const Variant& result, std::string_view exact)
    {
        return result.kind() == VariantKind::Single && exactText(result.single()) != exact ? toSingle(result.single())
                                                                                           : *this;
    }
    std::string text() const { return bracketed(text_); }

private:
    std::string text_;
};

// A value of a kind as its label would show a Double worked out by hand; empty
// when a Currency could not hold it.
std::string shownAs(Double value, VariantKind kind)
{
    std::string text;
    if (kind == VariantKind::Currency) {
        try {
            text = signedText(toCurrency(value));
        } catch (const RuntimeError&) {
            return {};
        }
    } else {
        text = significantText(value, kind == VariantKind::Single ? 7 : 15);
    }
    return text.starts_with(' ') ? text.substr(1) : text;
}

// Reads a run's values for its formulas.
class RunValues {
public:
    explicit RunValues(const RunRecord& record)
        : record_(record)
    {
        // The layers the run completed: those whose rope length went into S.
        // A pass an error stopped shows nowhere, and so counts nowhere.
        while (complete_ < record.layers.size()
               && record.layers[complete_].totalRopeLength.kind() != VariantKind::Empty)
            ++complete_;
    }

    std::string layers() const { return std::to_string(complete_); }

    // The top complete layer's value of a layer quantity; null when there is
    // none, or when `quantity` is no layer quantity.
    const Variant* layerValue(Quantity quantity) const
    {
        if (complete_ == 0)
            return nullptr;
        const LayerValues& top = record_.layers[complete_ - 1];
        switch (quantity) {
        case PitchDiameter: return &top.pitchDiameter;
        case FlangeDiameter: return &top.flangeDiameter;
        case LayerLength: return &top.layerLength;
        case TotalRopeLength: return &top.totalRopeLength;
        default: return nullptr;
        }
    }

    // The value the formulas take for a quantity: a layer quantity's from the
    // top complete layer, any other the last the run gave it.
    const Variant* value(Quantity quantity) const
    {
        if (isLayerQuantity(quantity))
            return layerValue(quantity);
        return record_.finalValue(quantity);
    }

    static bool isLayerQuantity(Quantity quantity)
    {
        return quantity == PitchDiameter || quantity == FlangeDiameter || quantity == LayerLength
            || quantity == TotalRopeLength;
    }

    // The symbols of the run's formulas with the number of layers put in.
    std::string symbols(std::string_view pattern, bool symbolic) const
    {
        // A run stopped before its first layer has no number of layers to show.
        symbolic = symbolic || complete_ == 0;
        return expand(pattern, [&](std::string_view token) -> std::string {
            if (token == "N")
                return symbolic ? "N" : layers();
            if (token == "l-symbols")
                return symbolic ? "l1 + … + lN" : layerSymbols();
            std::string kept("{");
            kept.append(token).append("}");
            return kept;
        });
    }

    std::string substituted(std::string_view pattern) const
    {
        return expand(pattern, [&](std::string_view token) -> std::string {
            if (token == "N-1")
                return std::to_string(complete_ == 0 ? 0 : complete_ - 1);
            if (token == "P")
                return valueOf(PitchDiameter);
            if (token == "l-values")
                return layerValues();
            const auto rows = catalogue();
            const auto row = std::find_if(rows.begin(), rows.end(), [&](const QuantityEntry& r) {
                return r.calculation == record_.calculation->id && r.symbol == token;
            });
            return row == rows.end() ? std::string(token) : valueOf(row->quantity);
        });
    }

    // The value a choice shows: what was chosen, and what an empty choice
    // means (the allowable stress that replaces it is noted later).
    std::string choice(const QuantityEntry& row) const
    {
        const auto first = std::find_if(record_.values.begin(), record_.values.end(),
                                        [&](const NotedValue& v) { return v.quantity == row.quantity; });
        if (first == record_.values.end())
            return {};
        if (first->value.kind() == VariantKind::Empty)
            return std::string(row.ifEmpty);
        if (row.quantity == LayerCount)
            return plainText(static_cast<Integer>(first->value.integer() + 1));
        return valueText(first->value);
    }

    // The sides a quantity's formula needs between its values and its result
    // for a check by hand to give the result: the roundings the calculation
    // made on the way (to a Single, to a Double, to 4 decimals), each where
    // it changed a value. None when the substituted values worked out without them give
    // the result as shown, as they mostly do.
    std::vector<std::string> roundings(const QuantityEntry& row) const
    {
        const Variant* result = value(row.quantity);
        if (!result)
            return {};
        switch (row.quantity) {
        case RopeTension: return tensionRoundings(*result, lastWord(row.substitution));
        case MinDrumDiameter: return productRoundings(*result, firstWord(row.substitution), RopeDiameter);
        case MaxDrumLength: return productRoundings(*result, firstWord(row.substitution), MinDrumDiameter);
        case TurnsPerLayer: return turnsRoundings(result->integer());
        case LeftoverLength: return leftoverRoundings(result->currency());
        case LayerLength: return lengthRoundings(result->currency(), firstWord(row.substitution));
        case PitchDiameter: return pitchRoundings(result->currency());
        case FlangeDiameter: return flangeRoundings(result->currency());
        case TotalRopeLength: return totalRoundings(result->single());
        case RopeCapacity: return productRoundings(*result, firstWord(row.substitution), TotalRopeLength);
        case WallThickness: return wallRoundings(result->integer());
        default: return {};
        }
    }

private:
    Double number(Quantity quantity) const
    {
        const Variant* found = value(quantity);
        return found ? found->toDouble() : 0;
    }
    Variant variant(Quantity quantity) const
    {
        const Variant* found = value(quantity);
        return found ? *found : Variant();
    }
    // The number a formula holds where its substitution writes it: "19" of
    // "19 · {d}", "10" of "{Q} · {k} · 10".
    static std::string_view firstWord(std::string_view substitution)
    {
        return substitution.substr(0, substitution.find(' '));
    }
    static std::string_view lastWord(std::string_view substitution)
    {
        return substitution.substr(substitution.rfind(' ') + 1);
    }

    static bool shownAlike(Double byHand, const Variant& result)
    {
        return shownAs(byHand, result.kind()) == valueText(result);
    }

    // Q · k · g: with a whole k, Q · k and the tension are Singles.
    std::vector<std::string> tensionRoundings(const Variant& result, std::string_view gravity) const
    {
        const Variant k = variant(DutyFactor);
        const Double load = number(LoadWeight);
        const Double g = decimalToDouble(gravity);
        if (k.kind() == VariantKind::Double || shownAlike(load * k.toDouble() * g, result))
            return {};
        const Variant loadTimesK = product(variant(LoadWeight), k);
        const Double timesG = loadTimesK.toDouble() * g;
        return {Rounded(exactText(load * k.toDouble())).toKindOf(loadTimesK, load * k.toDouble()).text() + " · "
                    + std::string(gravity),
                Rounded(exactText(timesG)).toKindOf(result, timesG).text()};
    }

    // factor · the quantity, a Single.
    std::vector<std::string> productRoundings(const Variant& result, std::string_view factor, Quantity of) const
    {
        const Double byHand = decimalToDouble(factor) * number(of);
        if (shownAlike(byHand, result))
            return {};
        const std::string exact = exactProduct(factor, number(of));
        return {Rounded(exact).toKindOf(result, exact).text()};
    }

    // ⌊L / d⌋: the quotient is rounded to 4 decimals before the floor.
    std::vector<std::string> turnsRoundings(Integer n) const
    {
        const Double ratio = number(DrumLength) / number(RopeDiameter);
        if (std::floor(ratio) == n)
            return {};
        return {"⌊" + Rounded(valueText(Variant(ratio))).toFourDecimals(toCurrency(ratio)).text() + "⌋"};
    }

    // L − n · d: L and n · d are each rounded to 4 decimals.
    std::vector<std::string> leftoverRoundings(Currency g) const
    {
        const Double length = number(DrumLength);
        const Double filled = number(TurnsPerLayer) * number(RopeDiameter);
        const Decimal byHand = decimalOf(exactText(length))
            + negated(decimalOf(exactText(number(TurnsPerLayer))) * decimalOf(exactText(number(RopeDiameter))));
        if (withinHalfUnit(byHand, g))
            return {};
        return {toFourDecimals(length) + " − " + toFourDecimals(filled)};
    }

    // D + d + 2 · d · (N − 1), worked out as ((2 · d · (N − 1)) + D) + d in
    // Singles, then rounded to 4 decimals.
    std::vector<std::string> pitchRoundings(Currency P) const
    {
        const Double D = number(DrumDiameter);
        const Double d = number(RopeDiameter);
        const auto layer = static_cast<Integer>(complete_ - 1);
        const Decimal dExact = decimalOf(exactText(d));
        if (withinHalfUnit(decimalOf(exactText(D)) + dExact
                               + Decimal{false, "2", 0} * dExact * decimalOf(std::to_string(layer)),
                           P))
            return {};
        const Variant twoD(static_cast<Single>(d + d));
        const Variant a = product(twoD, Variant(layer));
        const Variant b = sum(a, Variant(static_cast<Single>(D)));
        const Variant c = sum(b, Variant(static_cast<Single>(d)));
        const Double aExact = twoD.toDouble() * layer;
        const std::string bExact = exactSum(a.toDouble(), D);
        const std::string cExact = exactSum(b.toDouble(), d);
        Rounded last = Rounded(cExact).toKindOf(c, cExact);
        if (compare(c.toDouble(), P) != 0)
            last.toFourDecimals(P);
        return {Rounded(exactText(aExact)).toKindOf(a, aExact).text() + " + " + operand(variant(DrumDiameter)) + " + "
                    + operand(variant(RopeDiameter)),
                Rounded(bExact).toKindOf(b, bExact).text() + " + " + operand(variant(RopeDiameter)), last.text()};
    }

    // P + d + 2 · d · Y: d and 2 · d · Y are each rounded to 4 decimals.
    std::vector<std::string> flangeRoundings(Currency F) const
    {
        const Variant* P = layerValue(PitchDiameter);
        const Double d = number(RopeDiameter);
        const Variant Y = variant(FlangeFactor);
        const Decimal dExact = decimalOf(exactText(d));
        if (!P
            || withinHalfUnit(
                decimalOf(valueText(*P)) + dExact + Decimal{false, "2", 0} * dExact * decimalOf(valueText(Y)), F))
            return {};
        const Variant widths = product(Variant(static_cast<Single>(d + d)), Y);
        const Double widthsExact = (d + d) * Y.toDouble();
        Rounded rim = Rounded(exactText(widthsExact)).toKindOf(widths, widthsExact);
        if (compare(widths.toDouble(), toCurrency(widths)) != 0)
            rim.toFourDecimals(toCurrency(widths));
        return {operand(*P) + " + " + toFourDecimals(d) + " + " + rim.text()};
    }

    // 3.14159 · P · n / 1000 in Doubles: 3.14159 and P as Doubles, each
    // product and the quotient rounded to a Double; the quotient then goes to
    // 4 decimals by way of its number of ten-thousandths, itself a Double.
    // Only a rope length of some 10^11 m needs these steps.
    std::vector<std::string> lengthRoundings(Currency length, std::string_view pi) const
    {
        const Variant* P = layerValue(PitchDiameter);
        const Variant* n = value(TurnsPerLayer);
        const Decimal perMetre{false, "1", -3};
        if (!P || !n
            || withinHalfUnit(decimalOf(pi) * decimalOf(valueText(*P)) * decimalOf(valueText(*n)) * perMetre, length))
            return {};
        const Double piHeld = decimalToDouble(pi);
        const Double pitch = toDouble(P->currency());
        const Double first = piHeld * pitch;
        const Double second = first * n->integer();
        const Double metres = second / 1000;
        const Double units = metres * static_cast<Double>(Currency::unitsPerOne);
        const std::string firstExact = textOf(decimalOf(exactText(piHeld)) * decimalOf(exactText(pitch)));
        const std::string secondExact = textOf(decimalOf(exactText(first)) * decimalOf(valueText(*n)));
        const std::string metresExact = textOf(decimalOf(exactText(second)) * perMetre);
        Rounded last = Rounded(metresExact).toDouble(metresExact, metres);
        std::string reached = exactText(metres);
        if (textOf(decimalOf(reached) * Decimal{false, "1", 4}) != exactText(units)) {
            reached = textOf(decimalOf(exactText(units)) * Decimal{false, "1", -4});
            last.inTenThousandths(reached);
        }
        if (significant(reached) != significant(fourDecimals(length)))
            last.toFourDecimals(length);
        const std::string rest = " · " + valueText(*n) + " / 1000";
        return {Rounded(std::string(pi)).toDouble(pi, piHeld).text() + " · "
                    + Rounded(valueText(*P)).toDouble(valueText(*P), pitch).text() + rest,
                Rounded(firstExact).toDouble(firstExact, first).text() + rest,
                Rounded(secondExact).toDouble(secondExact, second).text() + " / 1000", last.text()};
    }

    // l1 + … + lN, the running total a Single, rounded to 4 decimals before
    // the next layer's length is added.
    std::vector<std::string> totalRoundings(Single S) const
    {
        Currency total{};
        for (std::size_t i = 0; i < complete_; ++i)
            total = kalventa::sum(total, record_.layers[i].layerLength.currency());
        if (shownAlike(toDouble(total), Variant(S)))
            return {};
        std::vector<std::string> sides;
        Currency running{};
        for (std::size_t i = 0; i < complete_; ++i) {
            running = kalventa::sum(running, record_.layers[i].layerLength.currency());
            Rounded step(valueText(Variant(running)));
            const Single held = record_.layers[i].totalRopeLength.single();
            if (compare(static_cast<Double>(held), running) != 0)
                step.toSingle(held);
            std::string side = step.text();
            if (i + 1 < complete_) {
                const Currency next = toCurrency(static_cast<Double>(held));
                if (compare(static_cast<Double>(held), next) != 0)
                    side = step.toFourDecimals(next).text();
                running = next;
                for (std::size_t k = i + 1; k < complete_; ++k)
                    side += " + " + operand(record_.layers[k].layerLength);
            }
            sides.push_back(side);
        }
        return sides;
    }

    // ⌈Q / ([σ] · d)⌉: [σ] · d and the quotient are Singles, the quotient
    // rounded to 4 decimals before the ceiling.
    std::vector<std::string> wallRoundings(Integer t) const
    {
        const Variant m = variant(AllowableStress);
        const Double byHand = number(LoadWeight) / (m.toDouble() * number(RopeDiameter));
        if (std::ceil(byHand) == t)
            return {};
        const Variant bearing = product(m, variant(RopeDiameter));
        const Double bearingExact = m.toDouble() * number(RopeDiameter);
        const Variant ratio = quotient(variant(LoadWeight), bearing);
        const Double ratioByHand = number(LoadWeight) / bearing.toDouble();
        Rounded inside = Rounded(valueText(Variant(ratioByHand))).toKindOf(ratio, ratioByHand);
        if (compare(ratio.toDouble(), toCurrency(ratio)) != 0)
            inside.toFourDecimals(toCurrency(ratio));
        return {"⌈" + operand(variant(LoadWeight)) + " / "
                    + Rounded(exactText(bearingExact)).toKindOf(bearing, bearingExact).text() + "⌉",
                "⌈" + inside.text() + "⌉"};
    }

    // A Single rounded to 4 decimals, as a Currency sum or difference takes it.
    static std::string toFourDecimals(Double value)
    {
        const Currency rounded = toCurrency(value);
        Rounded text(exactText(value));
        if (compare(value, rounded) != 0)
            text.toFourDecimals(rounded);
        return text.text();
    }

    std::string valueOf(Quantity quantity) const
    {
        const Variant* found = value(quantity);
        return found ? operand(*found) : "?";
    }

    std::string layerSymbols() const
    {
        std::string out;
        for (std::size_t i = 1; i <= complete_; ++i)
            out += (i > 1 ? " + l" : "l") + std::to_string(i);
        return out;
    }

    std::string layerValues() const
    {
        std::string out;
        for (std::size_t i = 0; i < complete_; ++i)
            out += (out.empty() ? "" : " + ") + operand(record_.layers[i].layerLength);
        return out;
    }

    const RunRecord& record_;
    std::size_t complete_ = 0;
};

std::string roundingSides(const RunValues& values, const QuantityEntry& row)
{
    std::string text;
    for (const std::string& side : values.roundings(row))
        text.append(" = ").append(side);
    return text;
}

QuantityLine lineOf(const QuantityEntry& row, const RunRecord& record)
{
    const RunValues values(record);
    QuantityLine line;
    line.entry = &row;
    line.symbol = values.symbols(row.symbol, false);
    line.inSymbols = row.formula.empty() ? line.symbol : line.symbol + " = " + values.symbols(row.formula, false);
    if (isChoice(row)) {
        line.value = values.choice(row);
        line.reached = !line.value.empty();
    } else if (const Variant* value = values.value(row.quantity)) {
        line.value = valueText(*value);
        line.reached = true;
    }
    // A result the window shows may have been worked out and yet not written,
    // an error coming first: the label then still shows an older text.
    line.shown = line.reached && (row.label.empty() || isChoice(row) || record.finalCaption(row.label) != nullptr);
    if (line.reached)
        line.substituted = row.formula.empty() ? line.symbol + " = " + line.valueWithUnit()
                                               : line.inSymbols + " = " + values.substituted(row.substitution)
                + roundingSides(values, row) + " = " + line.valueWithUnit();
    return line;
}

std::vector<QuantityLine> linesOf(const RunRecord& record, bool (*wanted)(const QuantityEntry&))
{
    std::vector<QuantityLine> lines;
    if (!record.calculation)
        return lines;
    for (const QuantityEntry& row : catalogue())
        if (row.calculation == record.calculation->id && wanted(row))
            lines.push_back(lineOf(row, record));
    return lines;
}

constexpr std::string_view verdictRule
    = "Канат не допустим, если Fр < Sмин: разрывное усилие каната меньше минимального допустимого натяжения";

} // namespace

std::string capitalised(std::string_view name)
{
    // The names start with a Cyrillic lower-case letter (two bytes) or a Latin one.
    std::string text(name);
    const auto first = static_cast<unsigned char>(text.empty() ? 0 : text[0]);
    if (first == 0xD0 && text.size() > 1) {
        const auto second = static_cast<unsigned char>(text[1]);
        if (second >= 0xB0 && second <= 0xBF)
            text[1] = static_cast<char>(second - 0x20); // а…п
    } else if (first == 0xD1 && text.size() > 1) {
        const auto second = static_cast<unsigned char>(text[1]);
        if (second >= 0x80 && second <= 0x8F) {
            text[0] = static_cast<char>(0xD0); // р…я
            text[1] = static_cast<char>(second + 0x20);
        }
    }
    return text;
}

std::string QuantityLine::valueWithUnit() const
{
    return withUnit(value, isChoice(*entry) && value.find(' ') != std::string::npos ? std::string_view{} : entry->unit);
}

std::string valueText(const Variant& value)
{
    std::string text = signedText(value);
    if (text.starts_with(' '))
        text.erase(0, 1);
    return text;
}

std::vector<QuantityLine> choicesOf(const RunRecord& record)
{
    return linesOf(record, &isChoice);
}

std::vector<QuantityLine> resultsOf(const RunRecord& record)
{
    return linesOf(record, &isResult);
}

namespace {

// A value in the labels' form that is zero or below it.
bool notPositive(const Variant* value)
{
    const std::string text = value ? valueText(*value) : std::string("0");
    return text == "0" || text.starts_with('-');
}

// What makes the rope check's comparison say nothing of the rope: no
// breaking force entered (the calculation then compares with 1E+08 N), no
// duty class chosen, a load or a breaking force that is no positive number.
struct RopeFindings {
    bool forceEntered = false;
    std::vector<std::string> caveats;
};

RopeFindings ropeFindings(const RunRecord& record)
{
    RopeFindings findings;
    const auto read = std::find_if(record.fieldsRead.begin(), record.fieldsRead.end(),
                                   [](const FieldRead& f) { return f.quantity == BreakingForce; });
    findings.forceEntered = read != record.fieldsRead.end() && valueText(read->value) != "0";
    const Variant* duty = record.finalValue(DutyFactor);
    if (!duty || duty->kind() == VariantKind::Empty)
        findings.caveats.emplace_back("режим работы не выбран (k = 0)");
    if (notPositive(record.finalValue(LoadWeight)))
        findings.caveats.emplace_back("вес груза не больше нуля");
    if (findings.forceEntered && notPositive(&read->value))
        findings.caveats.emplace_back("разрывное усилие меньше нуля");
    return findings;
}

std::string joined(const std::vector<std::string>& parts)
{
    std::string text;
    for (const std::string& part : parts)
        text += (text.empty() ? "" : "; ") + part;
    return text;
}

const std::string* verdictCaption(const RunRecord& record, const QuantityEntry** conclusion = nullptr)
{
    const QuantityEntry* entry = record.calculation ? entryWithRole(record.calculation->id, Role::Verdict) : nullptr;
    if (conclusion)
        *conclusion = entry;
    return entry ? record.finalCaption(entry->label) : nullptr;
}

} // namespace

std::string verdictOf(const RunRecord& record)
{
    const std::string* verdict = verdictCaption(record);
    const Variant* tension = record.finalValue(RopeTension);
    const Variant* compared = record.finalValue(ComparedBreakingForce);
    const Variant* force = record.finalValue(BreakingForce);
    if (!verdict || !tension || !compared || !force)
        return {};
    const RopeFindings findings = ropeFindings(record);
    if (!findings.forceEntered)
        return "Разрывное усилие не задано: канат не проверен";
    std::string text = "Fр = " + withUnit(valueText(*force), "Н");
    text += verdict->empty() ? " ≥ " : " < ";
    text += "Sмин = " + withUnit(valueText(*tension), "Н");
    text += verdict->empty() ? ": канат допустим" : ": канат не допустим";
    if (!findings.caveats.empty())
        text += ". Внимание: " + joined(findings.caveats) + " — вывод не подтверждает прочность каната";
    return text;
}

std::string verdictWords(const RunRecord& record)
{
    const QuantityEntry* conclusion = nullptr;
    const std::string* verdict = verdictCaption(record, &conclusion);
    if (!verdict)
        return {};
    const RopeFindings findings = ropeFindings(record);
    if (!findings.forceEntered)
        return std::string(conclusion->summaryWord) + " не проверен: разрывное усилие не задано";
    std::string words = std::string(conclusion->summaryWord) + " " + resultInWords(*conclusion, *verdict);
    if (!findings.caveats.empty())
        words += " (" + joined(findings.caveats) + ")";
    return words;
}

std::string resultTooltip(std::string_view label, const RunRecord* lastRun)
{
    const QuantityEntry* row = entryShownIn(label);
    if (!row)
        return {};
    const bool ran = lastRun && lastRun->calculation && lastRun->calculation->id == row->calculation;
    const std::string stopped
        = "расчёт остановлен, " + (ran && lastRun->error ? shortErrorText(*lastRun->error) : std::string());
    if (row->role == Role::Verdict) {
        if (!ran)
            return std::string(verdictRule);
        const std::string verdict = verdictOf(*lastRun);
        return verdict.empty() ? std::string(verdictRule) + " — не рассчитано: " + stopped : verdict;
    }
    if (!ran) {
        const RunRecord none;
        const RunValues values(none);
        const std::string symbol = values.symbols(row->symbol, true);
        const std::string inSymbols
            = row->formula.empty() ? symbol : symbol + " = " + values.symbols(row->formula, true);
        return withUnit(inSymbols + " — " + std::string(row->name) + (row->unit.empty() ? "" : ","), row->unit);
    }
    // The label tells what the run wrote into it: a value worked out but not
    // written, because an error came first, is not what the label shows.
    const QuantityLine line = lineOf(*row, *lastRun);
    const std::string* caption = lastRun->finalCaption(label);
    if (!caption)
        return line.reached ? line.substituted + " — в окно не записано: " + stopped
                            : line.inSymbols + " — не рассчитано: " + stopped;
    if (row->quantity == LayerCount && lastRun->error)
        return line.substituted + " — рассчитано слоёв: " + *caption + "; " + stopped;
    return line.substituted;
}

std::vector<LabelText> resultTooltips(CalculationId calculation, const RunRecord* lastRun)
{
    std::vector<LabelText> tooltips;
    for (const QuantityEntry& entry : catalogue())
        if (entry.calculation == calculation && !entry.label.empty())
            tooltips.push_back({entry.label, resultTooltip(entry.label, lastRun)});
    return tooltips;
}

} // namespace kalventa
