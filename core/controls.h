#pragma once
// What a calculation sees of the window: it reads a text field's Text, an
// option button's Value and a list's ListIndex, and writes a label's Caption,
// each by the control's name. The window implements this over its widgets; the
// tests and benchmarks over a plain table in memory.

#include "core/kinds.h"
#include "core/runtime_error.h"
#include "core/text_to_number.h"
#include "core/variant.h"

#include <string>
#include <string_view>

namespace kalventa {

// One text field as a calculation read it.
struct TextReading {
    std::string_view field;
    Quantity quantity; // the input it holds
    std::string_view text;
    NumberReading reading;
    Single value; // as the calculation takes it
};

class Controls {
public:
    virtual ~Controls() = default;

    // The text of a text field, as typed, in UTF-8.
    virtual std::string text(std::string_view name) = 0;
    // An option button's Value: -1 when it is on, 0 when it is off.
    virtual Integer value(std::string_view name) = 0;
    // The index of a list's chosen item, -1 when none is chosen.
    virtual Integer listIndex(std::string_view name) = 0;
    // Sets a label's text (UTF-8).
    virtual void setCaption(std::string_view name, std::string_view caption) = 0;

    // Told after a text field's text was read as a number and narrowed to
    // the Single the calculation takes: the text, how much of it the number
    // took and the value, so that a window can tell the engineer when part
    // of what was typed was ignored. Most windows need not know.
    virtual void textRead(const TextReading& /*read*/) { }
    // Told of each quantity a calculation has worked out or taken from the
    // window, with its kind and value, in the order of the calculation, so that
    // a window can show how a result was obtained. Most windows need not know.
    virtual void noted(Quantity /*quantity*/, const Variant& /*value*/) { }

protected:
    Controls() = default;
    Controls(const Controls&) = default;
    Controls& operator=(const Controls&) = default;
};

} // namespace kalventa
