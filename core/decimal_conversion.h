#pragma once
// The decimal texts of floating-point numbers, the one place where the core
// turns a float into digits or digits into a float. Both directions round
// correctly, ignore the locale and give the same digits with every compiler
// and standard library: reading is fast_float's, writing fmt's, compiled into
// the core (header-only), so that a standard library without floating-point
// std::from_chars and std::to_chars (emscripten's, older Apple ones) builds the
// same core as GCC's.

#include "core/kinds.h"

#include <string_view>

namespace kalventa {

// The float nearest to a decimal text "[-]digits[.digits][e[±]digits]" (the
// digits before or after the point may be missing, not both), ties to even.
// Beyond the kind's range the result is an infinity of the text's sign, below
// its smallest denormal a zero of that sign. The whole text must be the number.
Double decimalToDouble(std::string_view text) noexcept;
Single decimalToSingle(std::string_view text) noexcept;

// Writes a positive finite value in scientific form, "d.ddde±xx" with
// `fractionDigits` digits after the point (none and no point for 0), the last
// digit rounded correctly, an exact half to the even digit; at least two
// exponent digits. `first` to `last` must hold fractionDigits + 8 characters.
// Returns the end of the text written.
char* writeScientific(char* first, char* last, Double value, int fractionDigits) noexcept;

} // namespace kalventa
