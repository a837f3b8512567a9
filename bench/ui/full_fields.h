#pragma once
// The examples' inputs for the benchmarks of full fields: each of the seven
// fields holds as many characters as a field takes, zeros before the number
// of the example, so that every one of them is read.

#include "ui/text_field.h"

#include <QString>

#include <array>

namespace kalventa::bench {

struct Input {
    const char* field;
    const char* number;
};

// The rope check, the drum size limits and the rope capacity examples.
inline constexpr std::array<Input, 7> exampleInputs{{{"Text1", "1000"},
                                                     {"Text3", "50000"},
                                                     {"Text2", "12"},
                                                     {"Text4", "400"},
                                                     {"Text5", "800"},
                                                     {"Text6", "15"},
                                                     {"Text7", "5000"}}};

// The number, as long as a field takes it.
inline QString padded(const char* number)
{
    const QString text = QString::fromLatin1(number);
    return QString(ui::TextField::capacity - text.size(), QLatin1Char('0')) + text;
}

} // namespace kalventa::bench
