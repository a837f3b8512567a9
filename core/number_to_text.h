#pragma once
// Number to text, as the result labels show it.
//
// The signed-field form:
//   - a value of zero or above starts with a blank in the place of the sign,
//     negative zero included; a negative value with a minus sign;
//   - the full stop is the decimal point whatever the locale, no grouping;
//   - no zero before the point between -1 and 1: " .5", "-.25";
//   - Integer: its digits, " 0", "-7";
//   - Single: at most 7 significant digits, Double at most 15; a value half-way
//     at the last digit rounds away from zero (the Single 654322.25 gives
//     " 654322.3"); trailing zeros and a bare point are dropped; when the
//     decimal exponent after that rounding is 7 or more (Single), 15 or more
//     (Double) or below -4, the text is in exponent form with at least two
//     exponent digits: " 1.234568E+07", " 1E+15", " 1E-05";
//   - Currency: fixed point with at most 4 decimals, never in exponent form:
//     "-.0625", " 535".
// The plain form of an Integer has no blank: "6".
// An infinity reads " 1.#INF" or "-1.#INF", a NaN " 1.#QNAN"; the
// calculations never show either.

#include "core/kinds.h"
#include "core/variant.h"

#include <string>

namespace kalventa {

std::string signedText(Integer value);
std::string signedText(Single value);
std::string signedText(Double value);
std::string signedText(Currency value);
std::string signedText(const Variant& value);

std::string plainText(Integer value);

// A Double in the signed-field form with `digits` significant digits, as a
// Single's label shows it with 7 and a Double's with 15.
std::string significantText(Double value, int digits);

// The exact decimal value of a binary float, every digit of it, with no
// exponent and no blank for the sign: the Single 8.3 is
// "8.30000019073486328125", 2^-3 is "0.125", 1E+11 is "100000000000". An
// infinity or a NaN reads as in the signed-field form.
std::string exactText(Double value);

} // namespace kalventa
