#pragma once
// The sample calculation of tests/files/sample.kalventa, as a user enters it:
// every field, the options chosen and the lists' items; all three
// calculations are then run. The core's, the window's and the page's tests
// fill it in alike.

#include <array>
#include <string_view>
#include <utility>

namespace kalventa::testing {

inline constexpr std::array<std::pair<std::string_view, std::string_view>, 7> sampleTexts{{{"Text1", "5000"},
                                                                                           {"Text3", "300000"},
                                                                                           {"Text2", "12"},
                                                                                           {"Text4", "400"},
                                                                                           {"Text5", "800"},
                                                                                           {"Text6", "12"},
                                                                                           {"Text7", "5000"}}};
inline constexpr std::array<std::string_view, 2> sampleOptions{"Option2", "Option6"};
inline constexpr std::array<std::pair<std::string_view, int>, 2> sampleListIndexes{{{"Combo1", 2}, {"Combo2", 1}}};

} // namespace kalventa::testing
