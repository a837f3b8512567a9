#pragma once
// The notice for an input field whose text was not read whole. The number at
// the start of a text is what a calculation takes ("5,5" reads as 5, "12abc"
// as 12, "abc" as 0); that stays so, but the engineer is told:
//   "5,5"   -> "Прочитано как 5: запятая не входит в число. Для 5,5 введите 5.5"
//   "12abc" -> "Прочитано как 12: «abc» после числа не учтено."
//   "abc"   -> "Прочитано как 0: текст не начинается с числа."
// No notice (the empty text) when the text was read whole, or when only
// blanks were left over; an empty or blank field reads as 0 by design.

#include "core/text_to_number.h"

#include <string>
#include <string_view>

namespace kalventa {

// `reading` is what readNumber gave for `text`.
std::string misreadNotice(std::string_view text, const NumberReading& reading);

} // namespace kalventa
