#pragma once
// The look of the window in Qt's terms: the colours and fonts of
// window/look_table.h as QColor and QFont, and the style that paints the
// controls.

#include "ui/text.h"
#include "window/look_table.h"

#include <QColor>
#include <QFont>
#include <QString>
#include <QStyle>

#include <memory>

namespace kalventa::ui {

inline QColor qColour(const Rgb& colour)
{
    return {colour.red, colour.green, colour.blue};
}

// The colours of window/look_table.h, with the reasons given there.
inline const QColor formBackground = qColour(rgb::formBackground);
inline const QColor buttonFace = qColour(rgb::buttonFace);
inline const QColor groupCaption = qColour(rgb::groupCaption);
inline const QColor resultText = qColour(rgb::resultText);
inline const QColor verdictText = qColour(rgb::verdictText);
inline const QColor standardText = qColour(rgb::standardText);
inline const QColor sketchOutline = qColour(rgb::sketchOutline);
inline const QColor sketchDimension = qColour(rgb::sketchDimension);

// The window's caption, also the title of its message boxes.
inline const QString windowCaption = fromUtf8(windowCaptionText);

// The embedded Liberation Sans (see useWindowLook).
inline const QString windowFontFamily = fromUtf8(windowFontFamilyName);

// The point sizes are 8.25 and 9.75 exactly; QFont(family, int) would round
// 9.75 down to 9, so the size is set as a real number.
QFont windowFont(FontForm form);

// Registers the embedded Liberation Sans with the application's fonts, once;
// for what is set in the window's typeface outside the window (the report).
void registerWindowFont();

// Sets up the application once, before the window's first control: registers
// the embedded Liberation Sans, makes its 8.25 pt regular form the font of
// everything (the message box included, so that Qt's default font is never
// loaded), and installs the window's style. Qt's built-in "Windows" style
// paints a button face in exactly the palette's button colour, with the
// classic bevel, and draws the sunken fields and group frames of a classic
// form; Fusion, the default on Linux, would paint the orange faces as a
// lightened gradient instead. Safe to call more than once.
void useWindowLook();

} // namespace kalventa::ui
