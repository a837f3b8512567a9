#include "core/run.h"

#include "core/text_to_number.h"

#include <cmath>

namespace kalventa {

Single Run::readSingle(std::string_view textField)
{
    const std::string text = window_.text(textField);
    status_.clear();
    const NumberReading reading = readNumber(text);
    if (reading.overflow)
        arithmetic_.overflowed();
    const Single value = arithmetic_.narrow(reading.value);
    if (std::isinf(value) && infiniteInput_ == Quantity::Unknown)
        infiniteInput_ = arithmetic_.workingOn();
    window_.textRead({textField, arithmetic_.workingOn(), text, reading, value});
    note(arithmetic_.workingOn(), Variant(value));
    return value;
}

bool Run::isOn(std::string_view optionButton)
{
    constexpr Integer on = -1;
    const Integer value = window_.value(optionButton);
    status_.clear();
    return value == on;
}

Integer Run::listIndex(std::string_view list)
{
    const Integer index = window_.listIndex(list);
    status_.clear();
    return index;
}

void Run::setCaption(std::string_view label, std::string_view caption)
{
    window_.setCaption(label, caption);
    status_.clear();
}

} // namespace kalventa
