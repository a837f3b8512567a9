// Arbitrary bytes into the text-to-number conversion and into each
// calculation through an in-memory window. Whatever the input, a calculation
// either writes its labels or ends with one of the three run-time errors;
// nothing else may throw, crash, hang or touch memory it should not.
//
// Input layout: fuzz_input.h.

#include "core/calculations.h"
#include "core/input_notice.h"
#include "core/number_to_text.h"
#include "core/runtime_error.h"
#include "core/text_to_number.h"
#include "fuzz_input.h"
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
using namespace kalventa::fuzzing;

namespace {

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

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::optional<FuzzInput> input = FuzzInput::from(data, size);
    if (!input)
        return 0;
    MemoryControls window;
    for (std::size_t field = 0; field < input->texts.size(); ++field) {
        checkReading(input->texts[field]);
        window.texts[textFields[field]] = std::string(input->texts[field]);
    }
    for (std::size_t k = 0; k < options.size(); ++k)
        window.values[options[k]] = input->optionOn[k] ? Integer{-1} : Integer{0};
    window.listIndexes["Combo1"] = input->combo1;
    window.listIndexes["Combo2"] = input->combo2;

    try {
        calculations[input->calculation](window);
    } catch (const RuntimeError&) {
        // One of the three run-time errors: the calculation ended, as it may.
    }
    for (const auto& [label, text] : window.writes)
        require(label == "Label18" ? !text.empty() : label == "Label6" || isNumberText(text));
    return 0;
}
