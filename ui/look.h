#pragma once
// The look of the window: its colours, its five fonts and the style that paints
// its controls, each named once here.

#include <QColor>
#include <QFont>
#include <QString>
#include <QStyle>

#include <memory>

namespace kalventa::ui {

// The window's warm background; group boxes, labels, option buttons and the
// sketch paint it too, so that labels blend into their container.
inline const QColor formBackground{255, 224, 192};
// The three buttons stand out in a darker orange face.
inline const QColor buttonFace{255, 192, 128};
// The captions of the three calculation groups are dark red headings.
inline const QColor groupCaption{192, 0, 0};
// What a calculation writes is green, so that results read apart from captions.
inline const QColor resultText{0, 128, 0};
// The verdict "Не допустимо" is a warning, in bright red.
inline const QColor verdictText{255, 0, 0};
// Every other text, and the black parts of the sketch: the standard window text.
inline const QColor standardText{0, 0, 0};

// The drum outline is blue, every dimension line red.
inline const QColor sketchOutline{0, 0, 255};
inline const QColor sketchDimension{255, 0, 0};

// The window's caption, also the title of its message boxes.
inline const QString windowCaption = QStringLiteral("Кальвента ");

// The old form's texts were set in "MS Sans Serif", which only Windows has.
// The window sets them in the embedded Liberation Sans on every machine, a
// narrow sans-serif with Cyrillic, so that they look the same everywhere
// (see useWindowLook).
inline const QString windowFontFamily = QStringLiteral("Liberation Sans");

enum class FontForm { Regular8, Bold8, Underlined8, Regular10, Bold10 };

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
