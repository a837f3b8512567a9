// Arbitrary bytes into the text-to-number conversion and into each
// calculation through an in-memory window. Whatever the input, a calculation
// either writes its labels or ends with one of the three run-time errors;
// nothing else may throw, crash, hang or touch memory it should not.
//
// Input layout: the first byte picks the calculation (bits 0-1) and the list
// items (bits 2-4 for Combo1, 5-7 for Combo2), the second turns the option
// buttons on (bits 0-5, Option1 to Option6); the rest is split at '\n' into
// the texts of the fields, in order.

#include "core/calculations.h"
#include "core/input_notice.h"
#include "core/number_to_text.h"
#include "core/runtime_error.h"
#include "core/text_to_number.h"
#include "memory_controls.h"

#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

using namespace kalventa;
using kalventa::testing::MemoryControls;

namespace {

void require(bool condition)
{
    if (!condition)
        std::abort();
}

// A number text of a result label: a sign place, then digits, a point, an
// exponent; nothing else, and never empty.
bool isNumberText(std::string_view text)
{
    if (text.size() < 2 || (text[0] != ' ' && text[0] != '-'))
        return false;
    return text.find_first_not_of("0123456789.E+-#INFQA", 1) == std::string_view::npos;
}

void checkReading(std::string_view text)
{
    const NumberReading reading = readNumber(text);
    require(!std::isnan(reading.value));
    require(reading.overflow == std::isinf(reading.value));
    require(reading.length <= text.size());
    // The notice for a field quotes part of any text without reading past it.
    const std::string notice = misreadNotice(text, reading);
    require(notice.empty() == (text.find_first_not_of(" \t", reading.length) == std::string_view::npos));
    require(isNumberText(signedText(reading.value)));
    require(isNumberText(signedText(static_cast<Single>(reading.value))));
}

constexpr std::array calculations{&ropeCheck, &drumSizeLimits, &ropeCapacity};
constexpr std::array textFields{"Text1", "Text3", "Text2", "Text4", "Text5", "Text6", "Text7"};
constexpr std::array options{"Option1", "Option2", "Option3", "Option4", "Option5", "Option6"};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 2)
        return 0;
    const std::uint8_t choice = data[0];
    const std::uint8_t switches = data[1];
    const std::string_view rest(reinterpret_cast<const char*>(data + 2), size - 2);

    MemoryControls window;
    std::size_t field = 0;
    for (std::size_t start = 0; start <= rest.size() && field < textFields.size(); ++field) {
        const std::size_t end = std::min(rest.find('\n', start), rest.size());
        const std::string_view text = rest.substr(start, end - start);
        checkReading(text);
        window.texts[textFields[field]] = std::string(text);
        start = end + 1;
    }
    for (std::size_t k = 0; k < options.size(); ++k)
        window.values[options[k]] = (switches >> k) & 1 ? Integer{-1} : Integer{0};
    window.listIndexes["Combo1"] = static_cast<Integer>(((choice >> 2) & 7) - 1);
    window.listIndexes["Combo2"] = static_cast<Integer>(((choice >> 5) & 7) % 3 - 1);

    try {
        calculations[(choice & 3u) % calculations.size()](window);
    } catch (const RuntimeError&) {
        // One of the three run-time errors: the calculation ended, as it may.
    }
    for (const auto& [label, text] : window.writes)
        require(label == "Label18" ? !text.empty() : label == "Label6" || isNumberText(text));
    return 0;
}
