#include "core/number_to_text.h"

#include "core/decimal_conversion.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <string_view>
#include <vector>

namespace kalventa {
namespace {

constexpr int singleDigits = 7;
constexpr int doubleDigits = 15;

// Significant digits d1 d2 … dP of a positive value, the first nonzero, and
// the decimal exponent of d1: the value is d1.d2…dP × 10^exponent.
struct Rounded {
    std::array<char, doubleDigits + 1> digits{};
    int count = 0;
    int exponent = 0;
};

// `text` is the scientific form "d.ddde±xx" (or "de±xx") of writeScientific.
Rounded split(std::string_view text)
{
    Rounded r;
    std::size_t i = 0;
    for (; i < text.size() && text[i] != 'e'; ++i)
        if (text[i] != '.')
            r.digits[static_cast<std::size_t>(r.count++)] = text[i];
    std::from_chars(text.data() + i + (text[i + 1] == '+' ? 2 : 1), text.data() + text.size(), r.exponent);
    return r;
}

// Whether `value` times 10^power is a whole number, worked out exactly from
// its binary form value = mantissa × 2^binaryExponent.
bool scalesToWhole(Double value, int power)
{
    int binaryExponent = 0;
    const Double fraction = std::frexp(value, &binaryExponent);
    auto mantissa = static_cast<std::uint64_t>(std::ldexp(fraction, 53));
    binaryExponent -= 53;
    while ((mantissa & 1) == 0) {
        mantissa >>= 1;
        ++binaryExponent;
    }
    // value × 10^power = mantissa × 5^power × 2^(binaryExponent + power)
    if (binaryExponent + power < 0)
        return false;
    for (int k = power; k < 0; ++k) {
        if (mantissa % 5 != 0)
            return false;
        mantissa /= 5;
    }
    return true;
}

// Rounds a positive finite value to `precision` significant digits, a value
// exactly half-way rounding away from zero. writeScientific rounds correctly
// but takes ties to the even digit; a tie is a value whose decimal expansion
// ends in a 5 just past the last kept digit, which the exactness test finds.
Rounded roundSignificant(Double value, int precision)
{
    std::array<char, 48> buffer{};
    char* const first = buffer.data();
    char* const last = first + buffer.size();

    const char* const longer = writeScientific(first, last, value, precision);
    Rounded r = split({first, static_cast<std::size_t>(longer - first)});
    const bool tie
        = r.digits[static_cast<std::size_t>(precision)] == '5' && scalesToWhole(value, precision - r.exponent);
    if (!tie) {
        const char* const exact = writeScientific(first, last, value, precision - 1);
        return split({first, static_cast<std::size_t>(exact - first)});
    }
    r.count = precision;
    int i = precision - 1;
    for (; i >= 0 && r.digits[static_cast<std::size_t>(i)] == '9'; --i)
        r.digits[static_cast<std::size_t>(i)] = '0';
    if (i >= 0) {
        ++r.digits[static_cast<std::size_t>(i)];
    } else { // 9.99…95 became 10.0…0
        r.digits[0] = '1';
        ++r.exponent;
    }
    return r;
}

std::string floatText(Double value, int precision)
{
    const bool negative = std::signbit(value) && value != 0;
    std::string text(1, negative ? '-' : ' ');
    if (std::isnan(value))
        return text + "1.#QNAN";
    if (std::isinf(value))
        return text + "1.#INF";
    if (value == 0)
        return text + '0';

    Rounded r = roundSignificant(std::fabs(value), precision);
    while (r.count > 1 && r.digits[static_cast<std::size_t>(r.count - 1)] == '0')
        --r.count;
    const std::string_view digits(r.digits.data(), static_cast<std::size_t>(r.count));

    if (r.exponent >= precision || r.exponent < -4) {
        text += digits[0];
        if (digits.size() > 1) {
            text += '.';
            text += digits.substr(1);
        }
        text += r.exponent < 0 ? "E-" : "E+";
        const int magnitude = std::abs(r.exponent);
        if (magnitude < 10)
            text += '0';
        std::array<char, 8> exponent{};
        const auto end = std::to_chars(exponent.data(), exponent.data() + exponent.size(), magnitude).ptr;
        text.append(exponent.data(), end);
        return text;
    }
    if (r.exponent < 0) { // .000ddd
        text += '.';
        text.append(static_cast<std::size_t>(-r.exponent - 1), '0');
        text += digits;
        return text;
    }
    const auto whole = static_cast<std::size_t>(r.exponent) + 1;
    if (digits.size() <= whole) {
        text += digits;
        text.append(whole - digits.size(), '0');
    } else {
        text += digits.substr(0, whole);
        text += '.';
        text += digits.substr(whole);
    }
    return text;
}

std::string integerDigits(std::uint64_t magnitude)
{
    std::array<char, 24> buffer{};
    const auto end = std::to_chars(buffer.data(), buffer.data() + buffer.size(), magnitude).ptr;
    return {buffer.data(), end};
}

} // namespace

std::string signedText(Integer value)
{
    std::string text = integerDigits(static_cast<std::uint64_t>(std::abs(value)));
    text.insert(text.begin(), value < 0 ? '-' : ' ');
    return text;
}

std::string signedText(Single value)
{
    return floatText(static_cast<Double>(value), singleDigits);
}

std::string signedText(Double value)
{
    return floatText(value, doubleDigits);
}

std::string signedText(Currency value)
{
    const bool negative = value.units < 0;
    // The magnitude in unsigned arithmetic, so that the lowest value has one too.
    const std::uint64_t units
        = negative ? 0 - static_cast<std::uint64_t>(value.units) : static_cast<std::uint64_t>(value.units);
    const auto perOne = static_cast<std::uint64_t>(Currency::unitsPerOne);
    std::uint64_t fraction = units % perOne;
    const std::uint64_t whole = units / perOne;

    std::string text(1, negative ? '-' : ' ');
    if (whole != 0 || fraction == 0)
        text += integerDigits(whole);
    if (fraction != 0) {
        int places = 4;
        while (fraction % 10 == 0) {
            fraction /= 10;
            --places;
        }
        const std::string digits = integerDigits(fraction);
        text += '.';
        text.append(static_cast<std::size_t>(places) - digits.size(), '0');
        text += digits;
    }
    return text;
}

std::string signedText(const Variant& value)
{
    switch (value.kind()) {
    case VariantKind::Empty: return signedText(Integer{0});
    case VariantKind::Integer: return signedText(value.integer());
    case VariantKind::Single: return signedText(value.single());
    case VariantKind::Double: return signedText(value.doubleValue());
    case VariantKind::Currency: return signedText(value.currency());
    }
    return {};
}

std::string plainText(Integer value)
{
    std::string text = integerDigits(static_cast<std::uint64_t>(std::abs(value)));
    if (value < 0)
        text.insert(text.begin(), '-');
    return text;
}

std::string significantText(Double value, int digits)
{
    return floatText(value, digits);
}

std::string exactText(Double value)
{
    if (!std::isfinite(value))
        return floatText(value, doubleDigits);
    if (value == 0)
        return "0";
    // value = mantissa × 2^exponent with an odd mantissa; a negative exponent
    // makes it mantissa × 5^-exponent ÷ 10^-exponent, so the digits are those
    // of a whole number either way, worked out by small multiplications.
    int exponent = 0;
    auto mantissa = static_cast<std::uint64_t>(std::ldexp(std::frexp(std::fabs(value), &exponent), 53));
    exponent -= 53;
    while ((mantissa & 1) == 0) {
        mantissa >>= 1;
        ++exponent;
    }
    std::vector<unsigned> digits; // least significant first
    for (; mantissa != 0; mantissa /= 10)
        digits.push_back(static_cast<unsigned>(mantissa % 10));
    const unsigned factor = exponent > 0 ? 2 : 5;
    for (int k = 0; k < std::abs(exponent); ++k) {
        unsigned carry = 0;
        for (unsigned& digit : digits) {
            const unsigned product = digit * factor + carry;
            digit = product % 10;
            carry = product / 10;
        }
        if (carry != 0)
            digits.push_back(carry);
    }
    const auto decimals = static_cast<std::size_t>(exponent < 0 ? -exponent : 0);
    if (digits.size() <= decimals)
        digits.resize(decimals + 1, 0);
    std::string text = value < 0 ? "-" : "";
    for (std::size_t i = digits.size(); i-- > 0;) {
        text += static_cast<char>('0' + digits[i]);
        if (i == decimals && decimals != 0)
            text += '.';
    }
    return text;
}

} // namespace kalventa
