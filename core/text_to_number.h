#pragma once
// Reading a number from the text of an input field.
//
// The value of the number at the start of the text:
//   - leading blanks (spaces and tabs) are skipped: "  7" reads as 7;
//   - an optional sign, digits with the full stop as the decimal point, and an
//     optional exponent (E or e, optional sign, digits) are read: "-1.5e3"
//     reads as -1500, "+.5" as 0.5, "5." as 5;
//   - reading stops at the first character that cannot continue the number:
//     "12.5abc" reads as 12.5, "5,5" as 5 (a comma is no decimal point), "1 2"
//     as 1, "1e" and "1e+" as 1;
//   - a text with no leading number reads as 0: "", "abc", "-", ".", "e5";
//   - the result is the Double nearest to the number, ties to even, however
//     many digits the text has; a number beyond the Double range reads as an
//     infinity of its sign and counts as an overflow, one too small for it as
//     a zero of its sign.
// No text is an error by itself. The locale plays no part.

#include "core/kinds.h"

#include <cstddef>
#include <string_view>

namespace kalventa {

struct NumberReading {
    Double value = 0;
    bool overflow = false; // the number lies beyond the Double range
    // How many characters of the text were read: the leading blanks and the
    // number; 0 when the text has no leading number. What follows was ignored.
    std::size_t length = 0;
};

NumberReading readNumber(std::string_view text) noexcept;

} // namespace kalventa
