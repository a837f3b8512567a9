#pragma once
// Texts cross from the core to the widgets as UTF-8.

#include <QString>

#include <string_view>

namespace kalventa::ui {

inline QString fromUtf8(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// A tooltip that shows its text as it is, on one line: Qt would read a text
// that looks like markup ("<b>", typed by the user) as rich text, and wrap a
// long plain one into a narrow column.
inline QString plainToolTip(const QString& text)
{
    return text.isEmpty() ? QString() : QStringLiteral("<p style='white-space:pre'>%1</p>").arg(text.toHtmlEscaped());
}

} // namespace kalventa::ui
