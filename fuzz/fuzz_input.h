#pragma once
// The fuzz targets' input layout: the first byte picks the calculation
// (bits 0-1) and the list items (bits 2-4 for Combo1, 5-7 for Combo2), the
// second turns the option buttons on (bits 0-5, Option1 to Option6); the rest
// is split at '\n' into the texts of the fields, in order. A text holds any
// other byte and has no length of its own: only the input's length bounds it.

#include "core/kinds.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string_view>
#include <vector>

namespace kalventa::fuzzing {

inline void require(bool condition)
{
    if (!condition)
        std::abort();
}

inline constexpr std::array textFields{"Text1", "Text3", "Text2", "Text4", "Text5", "Text6", "Text7"};
inline constexpr std::array options{"Option1", "Option2", "Option3", "Option4", "Option5", "Option6"};

struct FuzzInput {
    std::size_t calculation = 0; // 0 to 2
    std::array<bool, options.size()> optionOn{};
    Integer combo1 = -1;                 // -1 to 6: past the items too
    Integer combo2 = -1;                 // -1 to 1
    std::vector<std::string_view> texts; // at most one per text field, in order

    static std::optional<FuzzInput> from(const std::uint8_t* data, std::size_t size)
    {
        if (size < 2)
            return std::nullopt;
        FuzzInput input;
        input.calculation = (data[0] & 3u) % 3;
        input.combo1 = static_cast<Integer>(((data[0] >> 2) & 7) - 1);
        input.combo2 = static_cast<Integer>(((data[0] >> 5) & 7) % 3 - 1);
        for (std::size_t k = 0; k < options.size(); ++k)
            input.optionOn[k] = (data[1] >> k) & 1;
        const std::string_view rest(reinterpret_cast<const char*>(data + 2), size - 2);
        for (std::size_t start = 0; start <= rest.size() && input.texts.size() < textFields.size();) {
            const std::size_t end = std::min(rest.find('\n', start), rest.size());
            input.texts.push_back(rest.substr(start, end - start));
            start = end + 1;
        }
        return input;
    }
};

} // namespace kalventa::fuzzing
