#pragma once
// The window's controls as tables: for every control its name, kind,
// container, box in twips, text at start and look; the items of the two lists,
// the Tab order, and which label captions which control.
// The window is built from these tables in one loop (Form1).

#include "window/look_table.h"
#include "window/twip_rect.h"

#include <span>
#include <string_view>

namespace kalventa::ui {

enum class Kind { GroupBox, Label, TextField, OptionButton, DropDownList, Button, PictureArea };

enum class Ink {
    Standard,     // black text
    GroupCaption, // dark red group box caption (the group's contents stay black)
    Result,       // green result
    Verdict,      // red verdict
};

enum class Align { Left, Centred };

struct Look {
    FontForm font = FontForm::Regular8;
    Ink ink = Ink::Standard;
    Align align = Align::Left;
};

struct ControlRow {
    std::string_view name;
    Kind kind;
    std::string_view container; // "Form1", a group box or "Picture1"
    TwipRect box;
    std::string_view text; // UTF-8, blanks included
    Look look;
};

struct ListRow {
    std::string_view list;
    std::span<const std::string_view> items; // in the order shown, not sorted
};

// A label that captions a field, a list or a result beside it.
struct CaptionRow {
    std::string_view label;
    std::string_view control;
};

inline constexpr std::string_view formName = "Form1";
// The window's client area: 10350 by 7245 twips.
inline constexpr TwipRect clientArea{0, 0, 10350, 7245};

// Every control, containers before their contents, each container's rows in
// reading order (top to bottom, then left to right).
std::span<const ControlRow> controlRows();
std::span<const ListRow> listRows();
// The controls that take the focus, in the order Tab visits them; from the
// last Tab goes round to the first.
std::span<const std::string_view> tabOrder();
std::span<const CaptionRow> captionRows();

// What the window shows for a choice: an option button's caption (`item` -1)
// or a list's item; empty for another control or an item it does not have.
std::string_view choiceText(std::string_view control, int item);

} // namespace kalventa::ui
