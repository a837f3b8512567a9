#pragma once
// A sheet of a text document in a frame with its main inscription, after
// GOST 2.104: the frame 20 mm from the sheet's left edge (for binding) and
// 5 mm from the others; the first sheet carries the inscription of form 2
// (185 × 40 mm) in the frame's bottom right corner, every later one that of
// form 2a (185 × 15 mm). Lines and boxes in millimetres from the sheet's top
// left corner, A4 portrait: the painter draws them, and a sheet can be
// measured against them.

#include "core/calculation_file.h"

#include <string>
#include <string_view>
#include <vector>

namespace kalventa {

inline constexpr double sheetWidth = 210, sheetHeight = 297; // A4 portrait
inline constexpr double frameLeft = 20, frameTop = 5, frameRight = 5, frameBottom = 5;
// The text keeps 5 mm from the frame at the sides and 10 mm from the frame
// and the inscription above and below it.
inline constexpr double textSide = 5, textTopBottom = 10;

// The main line (the frame, the inscription's outline and columns) and the
// thin one (the rows inside a column).
enum class LineWeight { Main, Thin };
inline constexpr double mainLineWidth = 0.6, thinLineWidth = 0.25;

struct MmRect {
    double x = 0, y = 0, width = 0, height = 0;
    double right() const { return x + width; }
    double bottom() const { return y + height; }
};

struct Rule {
    double x1, y1, x2, y2;
    LineWeight weight;
};

// What a box of the inscription holds.
enum class Field {
    Caption, // a printed heading: «Изм.», «Разраб.», «Лит.», «Лист», …
    Designation,
    DocumentName, // the object, then the document's name
    Organisation,
    Developer,
    Checker,
    StandardsChecker,
    Approver,
    Sheet,
    Sheets,
};

struct InscriptionCell {
    Field field;
    MmRect box;
    std::string text; // empty: left to be filled in by hand
    double points;    // the text's size, smaller where it would not fit
    bool bold = false;
    bool centred = true;  // else from the left
    bool wrapped = false; // on several lines
};

struct FramedSheet {
    MmRect frame;
    MmRect inscription;
    MmRect text;             // where the note's text goes: the same on every sheet
    std::vector<Rule> rules; // the frame's and the inscription's lines
    std::vector<InscriptionCell> cells;
};

// Sheet `sheet` of `sheets`, counted from 1; the first has form 2, the
// others form 2a. `documentName` follows the object in form 2's name box.
FramedSheet framedSheet(const TitleData& title, std::string_view documentName, int sheet, int sheets);

} // namespace kalventa
