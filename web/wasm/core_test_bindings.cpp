// The conversions of number texts, for the core's tests under node: they run
// the core's number tables against the WebAssembly core. Only the tests'
// module (kalventa_core_test) is linked with these; the page's module has
// none of them.

#include "core/kinds.h"
#include "core/number_to_text.h"
#include "core/text_to_number.h"

#include <emscripten/bind.h>
#include <emscripten/val.h>

#include <charconv>
#include <cstdint>
#include <stdexcept>
#include <string>

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
}
