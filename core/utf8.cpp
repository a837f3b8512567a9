#include "core/utf8.h"

namespace kalventa {

std::optional<std::size_t> firstInvalidUtf8(std::string_view text)
{
    std::size_t at = 0;
    while (at < text.size()) {
        const auto lead = static_cast<unsigned char>(text[at]);
        if (lead < 0x80) {
            ++at;
            continue;
        }
        // The length a lead byte announces and the range its second byte
        // must fall in, which rules out overlong forms, surrogates and
        // values beyond U+10FFFF (Unicode's table 3-7).
        std::size_t length = 0;
        unsigned char low = 0x80;
        unsigned char high = 0xBF;
        if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3;
            low = lead == 0xE0 ? 0xA0 : 0x80;
            high = lead == 0xED ? 0x9F : 0xBF;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4;
            low = lead == 0xF0 ? 0x90 : 0x80;
            high = lead == 0xF4 ? 0x8F : 0xBF;
        } else {
            return at;
        }
        if (at + length > text.size())
            return at;
        for (std::size_t next = 1; next < length; ++next) {
            const auto byte = static_cast<unsigned char>(text[at + next]);
            const bool inRange = next == 1 ? byte >= low && byte <= high : (byte & 0xC0) == 0x80;
            if (!inRange)
                return at;
        }
        at += length;
    }
    return std::nullopt;
}

} // namespace kalventa
