#pragma once
// UTF-8 as a file holds it: whether its bytes are well formed, and how many
// characters a stretch of it has.

#include <cstddef>
#include <optional>
#include <string_view>

namespace kalventa {

// The offset of the first byte that does not belong to a well-formed UTF-8
// sequence (overlong forms, surrogates and values above U+10FFFF included);
// none when the whole text is well formed.
std::optional<std::size_t> firstInvalidUtf8(std::string_view text);

// The characters of well-formed UTF-8: the bytes that start one.
inline std::size_t utf8Length(std::string_view text)
{
    std::size_t characters = 0;
    for (const char byte : text)
        characters += (static_cast<unsigned char>(byte) & 0xC0) != 0x80 ? 1 : 0;
    return characters;
}

} // namespace kalventa
