// The conversions of number texts, for the core's tests under node: they run
// the core's number tables against the WebAssembly core; and the core's own
// calculation file of a window's state, which the page's saved files are
// compared with. Only the tests' module (kalventa_core_test) is linked with
// these; the page's module has none of them.

#include "core/calculation_file.h"
#include "core/calculation_file_window.h"
#include "core/calculation_table.h"
#include "core/kinds.h"
#include "core/number_to_text.h"
#include "core/text_to_number.h"
#include "web/wasm/page_file_window.h"

#include <emscripten/bind.h>
#include <emscripten/val.h>

#include <charconv>
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace kalventa::web {
namespace {

using emscripten::val;

std::string signedSingle(double value)
{
    return signedText(static_cast<Single>(value));
}

std::string signedDouble(double value)
{
    return signedText(value);
}

// A Currency given by its count of ten-thousandths, as decimal digits: a
// JavaScript number cannot hold every one of them.
std::string signedCurrency(const std::string& units)
{
    std::int64_t count = 0;
    const auto [end, error] = std::from_chars(units.data(), units.data() + units.size(), count);
    if (error != std::errc() || end != units.data() + units.size())
        throw std::invalid_argument("not a count of ten-thousandths: " + units);
    return signedText(Currency{count});
}

std::string signedInteger(int value)
{
    return signedText(static_cast<Integer>(value));
}

std::string plainInteger(int value)
{
    return plainText(static_cast<Integer>(value));
}

val readNumberOf(const std::string& text)
{
    const NumberReading reading = readNumber(text);
    val result = val::object();
    result.set("value", reading.value);
    result.set("overflow", reading.overflow);
    return result;
}

// The file the core writes of `window` (an object with the functions of a
// FileWindow), the calculations of the buttons `ran` having been run, with
// the check's controls of `rules` unless it is null.
std::string writeFileOf(val window, val ran, val rules)
{
    std::vector<CalculationId> run;
    for (const std::string& button : emscripten::vecFromJSArray<std::string>(ran)) {
        const CalculationEntry* calculation = calculationOf(button);
        if (calculation == nullptr)
            throw std::invalid_argument("no button " + button);
        run.push_back(calculation->id);
    }
    PageFileWindow page(std::move(window));
    std::optional<PageFileWindow> check;
    if (!rules.isNull())
        check.emplace(std::move(rules));
    return writeCalculationFile(captureFile(page, run, check ? &*check : nullptr));
}

} // namespace
} // namespace kalventa::web

EMSCRIPTEN_BINDINGS(kalventa_test)
{
    using namespace kalventa::web;
    emscripten::function("signedSingle", &signedSingle);
    emscripten::function("signedDouble", &signedDouble);
    emscripten::function("signedCurrency", &signedCurrency);
    emscripten::function("signedInteger", &signedInteger);
    emscripten::function("plainInteger", &plainInteger);
    emscripten::function("readNumber", &readNumberOf);
    emscripten::function("writeFileOf", &writeFileOf);
}
