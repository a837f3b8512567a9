#include "core/text_to_number.h"

#include "core/decimal_conversion.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <limits>

namespace kalventa {
namespace {

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}
bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

// Enough significant digits to round any decimal to the nearest Double: the
// exact midpoint between two Doubles has at most 768 of them. Digits past
// this are folded into one sticky nonzero digit, which keeps the rounding
// exact and the work bounded for a text of any length.
constexpr std::size_t keptDigits = 780;

// A cap on the written exponent that keeps the sums below from overflowing:
// the point's position counts characters of the text, far below this.
constexpr std::int64_t exponentCap = 100'000'000'000'000'000;

// The leading number of a text as 0.digits × 10^magnitude.
struct Scanned {
    bool found = false; // the text starts with a number at all
    bool negative = false;
    std::array<char, keptDigits + 1> digits{}; // significant digits, no leading zeros
    std::size_t count = 0;
    std::int64_t magnitude = 0; // counts characters of the text: cannot overflow
    std::size_t length = 0;     // characters that make the number, leading blanks included

    void take(char digit, bool beforePoint)
    {
        found = true;
        if (count == 0 && digit == '0') {
            if (!beforePoint)
                --magnitude; // a zero between the point and the first significant digit
            return;
        }
        if (beforePoint)
            ++magnitude;
        if (count < keptDigits)
            digits[count++] = digit;
        else if (digit != '0' && count == keptDigits)
            digits[count++] = '1'; // sticky: something nonzero was dropped
    }
};

// The written exponent at `i`, if an E or e with at least one digit stands
// there; `i` moves past it only then ("1e" and "1e+" end before the letter).
std::int64_t readExponent(std::string_view text, std::size_t& i)
{
    std::size_t j = i;
    if (j >= text.size() || (text[j] != 'e' && text[j] != 'E'))
        return 0;
    ++j;
    bool negative = false;
    if (j < text.size() && (text[j] == '+' || text[j] == '-'))
        negative = text[j++] == '-';
    if (j >= text.size() || !isDigit(text[j]))
        return 0;
    std::int64_t value = 0;
    for (; j < text.size() && isDigit(text[j]); ++j)
        if (value < exponentCap)
            value = value * 10 + (text[j] - '0');
    i = j;
    return negative ? -value : value;
}

Scanned scan(std::string_view text)
{
    Scanned s;
    std::size_t i = 0;
    while (i < text.size() && isBlank(text[i]))
        ++i;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        s.negative = text[i++] == '-';
    for (; i < text.size() && isDigit(text[i]); ++i)
        s.take(text[i], true);
    if (i < text.size() && text[i] == '.')
        for (++i; i < text.size() && isDigit(text[i]); ++i)
            s.take(text[i], false);
    if (s.found) {
        s.magnitude += readExponent(text, i);
        s.length = i;
    }
    return s;
}

NumberReading infinity(bool negative)
{
    constexpr Double inf = std::numeric_limits<Double>::infinity();
    return {negative ? -inf : inf, true};
}

// The Double nearest to the scanned number.
NumberReading convert(const Scanned& s) noexcept
{
    const Double zero = s.negative ? -0.0 : 0.0;
    // Every number from 10^309 on overflows; every one below 10^-330 rounds to zero.
    if (s.count == 0 || s.magnitude < -330)
        return {zero, false};
    if (s.magnitude > 310)
        return infinity(s.negative);

    // "-.ddd…e±mmm" for the core's decimal reading, which rounds correctly and
    // ignores the locale.
    std::array<char, keptDigits + 16> normal{};
    char* out = normal.data();
    if (s.negative)
        *out++ = '-';
    *out++ = '.';
    for (std::size_t k = 0; k < s.count; ++k)
        *out++ = s.digits[k];
    *out++ = 'e';
    out = std::to_chars(out, normal.data() + normal.size(), s.magnitude).ptr;

    const Double value = decimalToDouble({normal.data(), static_cast<std::size_t>(out - normal.data())});
    if (std::isinf(value))
        return infinity(s.negative);
    return {value, false};
}

} // namespace

NumberReading readNumber(std::string_view text) noexcept
{
    const Scanned s = scan(text);
    if (!s.found)
        return {};
    NumberReading reading = convert(s);
    reading.length = s.length;
    return reading;
}

} // namespace kalventa
