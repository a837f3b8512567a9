#include "core/input_notice.h"

#include "core/number_to_text.h"
#include "core/text_excerpt.h"

#include <algorithm>
#include <cstddef>

namespace kalventa {
namespace {

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}
bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// Longer ignored texts are cut in the notice: a pasted page need not be quoted.
constexpr std::size_t quotedCharacters = 20;
// A suggestion longer than this would not help: the notice says what to do instead.
constexpr std::size_t suggestedBytes = 40;

// The value as the calculation holds it, a Single, in the labels' form
// without the blank that stands for the sign.
std::string readAs(const NumberReading& reading)
{
    std::string text = signedText(static_cast<Single>(reading.value));
    if (text.starts_with(' '))
        text.erase(0, 1);
    return "Прочитано как " + text + ": ";
}

// "5,5": a decimal comma right after a whole number, a fraction after it.
std::string commaNotice(std::string_view number, std::string_view rest, const NumberReading& reading)
{
    const std::size_t digits = rest.find_first_not_of("0123456789", 1);
    const std::string_view fraction
        = rest.substr(1, digits == std::string_view::npos ? std::string_view::npos : digits - 1);
    std::string notice = readAs(reading) + "запятая не входит в число. ";
    if (number.size() + 1 + fraction.size() > suggestedBytes)
        return notice + "Дробную часть отделяйте точкой.";
    return notice.append("Для ")
        .append(number)
        .append(",")
        .append(fraction)
        .append(" введите ")
        .append(number)
        .append(".")
        .append(fraction);
}

} // namespace

std::string misreadNotice(std::string_view text, const NumberReading& reading)
{
    const std::string_view rest = text.substr(std::min(reading.length, text.size()));
    if (std::all_of(rest.begin(), rest.end(), isBlank))
        return {};
    if (reading.length == 0)
        return readAs(reading) + "текст не начинается с числа.";

    const std::size_t start
        = static_cast<std::size_t>(std::find_if_not(text.begin(), text.end(), isBlank) - text.begin());
    const std::string_view number = text.substr(start, reading.length - start);
    // "5,5" and nothing more: the comma alone kept the fraction out, and the
    // point instead of it reads the whole text. Anything else is quoted.
    const bool wholeNumber = number.find_first_of(".eE") == std::string_view::npos;
    const std::size_t fractionEnd = std::min(rest.find_first_not_of("0123456789", 1), rest.size());
    const bool onlyBlanksAfter
        = std::all_of(rest.begin() + static_cast<std::ptrdiff_t>(fractionEnd), rest.end(), isBlank);
    if (wholeNumber && rest.size() > 1 && rest[0] == ',' && isDigit(rest[1]) && onlyBlanksAfter)
        return commaNotice(number, rest, reading);

    std::string_view ignored = rest;
    while (isBlank(ignored.front())) // not all blanks: something else stands in it
        ignored.remove_prefix(1);
    while (isBlank(ignored.back()))
        ignored.remove_suffix(1);
    return readAs(reading) + "«" + excerpt(ignored, quotedCharacters) + "» после числа не учтено.";
}

} // namespace kalventa
