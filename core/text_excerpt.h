#pragma once
// The start of a UTF-8 text, for quoting it: at most `characters`
// characters, never cut inside one, with "…" when something was left out.

#include <cstddef>
#include <string>
#include <string_view>

namespace kalventa {

inline std::string excerpt(std::string_view text, std::size_t characters)
{
    std::size_t end = 0;
    for (std::size_t counted = 0; end < text.size() && counted < characters; ++counted) {
        ++end;
        while (end < text.size() && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80)
            ++end;
    }
    std::string out(text.substr(0, end));
    if (end < text.size())
        out += "…";
    return out;
}

} // namespace kalventa
