#pragma once
// The numeric kinds every calculation computes with. Which kind a working value
// has decides how it is rounded and how many digits its label shows, so the
// kinds are spelled out instead of leaving them to C++'s usual promotions.

#include <cstdint>

namespace kalventa {

using Integer = std::int16_t; // 16-bit signed, -32768 to 32767
using Single = float;         // IEEE 754 binary32: every input field is held in this kind
using Double = double;        // IEEE 754 binary64

// 64-bit fixed point counting units of 1/10000: exact for sums and differences.
struct Currency {
    static constexpr std::int64_t unitsPerOne = 10000;
    std::int64_t units = 0;

    friend constexpr bool operator==(Currency, Currency) = default;
};

} // namespace kalventa
