#include "core/decimal_conversion.h"

#include <fast_float/fast_float.h>
#include <fmt/format.h>

#include <charconv>
#include <cstddef>
#include <iterator>

namespace kalventa {
namespace {

template <class Float>
Float fromDecimal(std::string_view text) noexcept
{
    Float value = 0;
    // fast_float gives an infinity or a zero of the text's sign beyond the
    // range, and reads the point as the decimal point whatever the locale.
    fast_float::from_chars(text.data(), text.data() + text.size(), value);
    return value;
}

} // namespace

Double decimalToDouble(std::string_view text) noexcept
{
    return fromDecimal<Double>(text);
}

Single decimalToSingle(std::string_view text) noexcept
{
    return fromDecimal<Single>(text);
}

char* writeScientific(char* first, char* last, Double value, int fractionDigits) noexcept
{
#if defined(__cpp_lib_to_chars) && __cpp_lib_to_chars >= 201611L
    // Where the standard library writes floats itself (GCC's), its exact
    // digits are the same as fmt's and come three times faster for the long
    // expansions that tell a tie from a near one.
    return std::to_chars(first, last, value, std::chars_format::scientific, fractionDigits).ptr;
#else
    // Without the 'L' flag fmt uses no locale.
    const auto size = static_cast<std::size_t>(std::distance(first, last));
    return fmt::format_to_n(first, size, "{:.{}e}", value, fractionDigits).out;
#endif
}

} // namespace kalventa
