#pragma once
// Conversions between the numeric kinds, and the checked Currency and Integer
// arithmetic. Every conversion that can leave the range of its target raises
// the overflow error.

#include "core/kinds.h"

namespace kalventa {

// The value times 10000 in double precision (the product rounded to a
// Double), then rounded to a whole number of units, ties to even: 1279999.5
// units become 1280000.
Currency toCurrency(Double value);
Currency toCurrency(Integer value) noexcept;

// The nearest whole number, ties to even: 2.5 gives 2, 3.5 gives 4, -2.5 gives -2.
Integer toInteger(Currency value);

// The units divided by 10000, rounded once to the target kind.
Double toDouble(Currency value) noexcept;
Single toSingle(Currency value) noexcept;

// Exact sums and differences of Currency values.
Currency sum(Currency left, Currency right);
Currency difference(Currency left, Currency right);

// Adds a step (+1 or -1) to a working Integer.
Integer step(Integer value, int by);

// Exact three-way comparison of a Double with a Currency value: negative,
// zero or positive as `left` is below, equal to or above `right`. A NaN is
// reported as above.
int compare(Double left, Currency right) noexcept;

} // namespace kalventa
