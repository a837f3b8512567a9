#pragma once
// Texts cross from the core to the widgets as UTF-8.

#include <QString>

#include <string_view>

namespace kalventa::ui {

inline QString fromUtf8(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace kalventa::ui
