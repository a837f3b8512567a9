#pragma once
// The look of the window as plain values: its colours as RGB triples, its five
// font forms, its caption and typeface, each named once here. The desktop
// window makes Qt colours and fonts of them (ui/look.h); the browser edition's
// page is generated from the same values.

#include <string_view>

namespace kalventa::ui {

struct Rgb {
    int red = 0;
    int green = 0;
    int blue = 0;
};

namespace rgb {

// The window's warm background; group boxes, labels, option buttons and the
// sketch paint it too, so that labels blend into their container.
inline constexpr Rgb formBackground{255, 224, 192};
// The three buttons stand out in a darker orange face.
inline constexpr Rgb buttonFace{255, 192, 128};
// The captions of the three calculation groups are dark red headings.
inline constexpr Rgb groupCaption{192, 0, 0};
// What a calculation writes is green, so that results read apart from captions.
inline constexpr Rgb resultText{0, 128, 0};
// The verdict "Не допустимо" is a warning, in bright red.
inline constexpr Rgb verdictText{255, 0, 0};
// Every other text, and the black parts of the sketch: the standard window text.
inline constexpr Rgb standardText{0, 0, 0};

// The drum outline is blue, every dimension line red.
inline constexpr Rgb sketchOutline{0, 0, 255};
inline constexpr Rgb sketchDimension{255, 0, 0};

} // namespace rgb

// The window's caption, also the title of its message boxes (UTF-8).
inline constexpr std::string_view windowCaptionText = "Кальвента ";

// The old form's texts were set in "MS Sans Serif", which only Windows has.
// The window sets them in the embedded Liberation Sans on every machine, a
// narrow sans-serif with Cyrillic, so that they look the same everywhere.
inline constexpr std::string_view windowFontFamilyName = "Liberation Sans";

enum class FontForm { Regular8, Bold8, Underlined8, Regular10, Bold10 };

struct FontShape {
    double points = 8.25; // 8.25 and 9.75 exactly, not rounded to whole points
    bool bold = false;
    bool underlined = false;
};

constexpr FontShape fontShape(FontForm form)
{
    const bool large = form == FontForm::Regular10 || form == FontForm::Bold10;
    return {large ? 9.75 : 8.25, form == FontForm::Bold8 || form == FontForm::Bold10, form == FontForm::Underlined8};
}

} // namespace kalventa::ui
