#include "window/layout_table.h"

#include <algorithm>
#include <array>

namespace kalventa::ui {
namespace {

using enum Kind;

// The looks that recur, by what they are for.
constexpr Look groupHeading{FontForm::Regular10, Ink::GroupCaption};
constexpr Look choiceGroup{FontForm::Bold8};
constexpr Look plain{};
constexpr Look plainCentred{FontForm::Regular8, Ink::Standard, Align::Centred};
constexpr Look fieldCaption{FontForm::Bold8};
constexpr Look fieldCaptionCentred{FontForm::Bold8, Ink::Standard, Align::Centred};
constexpr Look resultCaption{FontForm::Underlined8, Ink::Standard, Align::Centred};
constexpr Look legend{FontForm::Bold10, Ink::Standard, Align::Centred};
constexpr Look result{FontForm::Regular10, Ink::Result, Align::Centred};
constexpr Look resultLeft{FontForm::Regular10, Ink::Result};
constexpr Look smallResult{FontForm::Regular8, Ink::Result, Align::Centred};
constexpr Look smallResultLeft{FontForm::Regular8, Ink::Result};
constexpr Look verdict{FontForm::Bold10, Ink::Verdict, Align::Centred};
constexpr Look button{FontForm::Bold10};

// Kept as written: one control a line, as the layout reads.
// clang-format off
constexpr std::array controls{
    // On the window.
    ControlRow{"Frame1", GroupBox, "Form1", {120, 120, 6375, 2895}, "Расчет каната", groupHeading},
    ControlRow{"Frame3", GroupBox, "Form1", {6600, 120, 3615, 2895}, "Допустимые размеры барабана", groupHeading},
    ControlRow{"Frame4", GroupBox, "Form1", {120, 3120, 10095, 3735}, "Расчет канатоёмкости", groupHeading},
    ControlRow{"Label31", Label, "Form1", {8040, 6960, 2175, 255}, "  Орвинск   V 1.3 ", plain},

    // The rope check.
    ControlRow{"Label1", Label, "Frame1", {240, 360, 1575, 255}, "Вес груза, кг", fieldCaption},
    ControlRow{"Text1", TextField, "Frame1", {1800, 360, 855, 285}, "", plain},
    ControlRow{"Label5", Label, "Frame1", {3000, 360, 1575, 495}, "Разрывное усилие каната, Н", fieldCaptionCentred},
    ControlRow{"Text3", TextField, "Frame1", {4800, 360, 855, 285}, "", plain},
    ControlRow{"Frame2", GroupBox, "Frame1", {240, 720, 2655, 1815}, "Режим работы", choiceGroup},
    ControlRow{"Label2", Label, "Frame1", {2880, 960, 1935, 735}, "Минимальное допустимое натяжение каната, Н", resultCaption},
    ControlRow{"Label3", Label, "Frame1", {4800, 1080, 1095, 375}, "", result},
    ControlRow{"Command1", Button, "Frame1", {3240, 1800, 2655, 375}, "Расчет", button},
    ControlRow{"Label6", Label, "Frame1", {3240, 2400, 2655, 375}, "", verdict},

    // The duty class.
    ControlRow{"Option1", OptionButton, "Frame2", {240, 360, 1335, 255}, "Легкий (к=5)", plain},
    ControlRow{"Option2", OptionButton, "Frame2", {240, 720, 1575, 255}, "Средний (к=5,5)", plain},
    ControlRow{"Option3", OptionButton, "Frame2", {240, 1080, 1455, 255}, "Тяжелый (к=6)", plain},
    ControlRow{"Option4", OptionButton, "Frame2", {240, 1440, 1575, 255}, "Тяговая (к=4,5)", plain},

    // The drum size limits.
    ControlRow{"Label4", Label, "Frame3", {240, 480, 1095, 375}, "Диаметр каната, мм", fieldCaptionCentred},
    ControlRow{"Text2", TextField, "Frame3", {1440, 480, 855, 285}, "", plain},
    ControlRow{"Label7", Label, "Frame3", {240, 960, 1815, 495}, "Минимальный диаметр барабана, мм", resultCaption},
    ControlRow{"Label8", Label, "Frame3", {2280, 960, 975, 375}, "", result},
    ControlRow{"Label9", Label, "Frame3", {240, 1440, 1815, 495}, "Максимальная длина барабана, мм", resultCaption},
    ControlRow{"Label10", Label, "Frame3", {2280, 1440, 975, 375}, "", result},
    ControlRow{"Command2", Button, "Frame3", {480, 2040, 2775, 375}, "Расчёт", button},

    // The rope capacity; the controls on the drum sketch follow further down.
    ControlRow{"Picture1", PictureArea, "Frame4", {240, 360, 4815, 3255}, "", plain},
    ControlRow{"Label13", Label, "Frame4", {5160, 360, 1215, 495}, "Диаметр каната d, мм *", fieldCaptionCentred},
    ControlRow{"Frame5", GroupBox, "Frame4", {7680, 360, 2175, 975}, "Размер Y (см. черт.)", choiceGroup},
    ControlRow{"Text6", TextField, "Frame4", {6480, 480, 735, 285}, "", plain},
    ControlRow{"Label14", Label, "Frame4", {5160, 960, 1215, 375}, "Кол-во слоёв каната, мм *", fieldCaptionCentred},
    ControlRow{"Combo1", DropDownList, "Frame4", {6480, 960, 735, 315}, "", plain},
    ControlRow{"Text7", TextField, "Frame4", {6480, 1440, 735, 285}, "", plain},
    ControlRow{"Label17", Label, "Frame4", {7560, 1440, 2415, 495}, "Канатоёмкость без учёта неравномерности укладки, м", resultCaption},
    ControlRow{"Label28", Label, "Frame4", {5040, 1560, 1455, 375}, "Вес груза, кг ", fieldCaptionCentred},
    ControlRow{"Label11", Label, "Frame4", {5160, 2040, 1095, 375}, "Материал барабана", fieldCaptionCentred},
    ControlRow{"Combo2", DropDownList, "Frame4", {6240, 2040, 1935, 315}, "", plain},
    ControlRow{"Label19", Label, "Frame4", {8640, 2040, 1215, 375}, "", result},
    ControlRow{"Command3", Button, "Frame4", {6120, 2640, 2895, 375}, "Расчёт", button},
    ControlRow{"Label26", Label, "Frame4", {5040, 3240, 4935, 255}, "* Ввод данных для определения канатоёмкости", plainCentred},

    // The flange margin.
    ControlRow{"Option5", OptionButton, "Frame5", {240, 240, 855, 255}, "1,5d", plain},
    ControlRow{"Option6", OptionButton, "Frame5", {240, 600, 855, 255}, "2d", plain},

    // On the drum sketch, from the top-left corner inside its border.
    ControlRow{"Label15", Label, "Picture1", {0, 120, 855, 375}, "Слои", legend},
    ControlRow{"Label18", Label, "Picture1", {840, 120, 615, 255}, "", result},
    ControlRow{"Label12", Label, "Picture1", {3240, 240, 495, 255}, "", smallResult},
    ControlRow{"Label24", Label, "Picture1", {0, 480, 975, 255}, "Витки", legend},
    ControlRow{"Label16", Label, "Picture1", {840, 480, 495, 255}, "", smallResult},
    ControlRow{"Label30", Label, "Picture1", {1560, 480, 135, 255}, "Y", plain},
    ControlRow{"Label23", Label, "Picture1", {2160, 480, 495, 255}, "", smallResultLeft},
    ControlRow{"Label25", Label, "Picture1", {840, 960, 135, 135}, "*", fieldCaption},
    ControlRow{"Label21", Label, "Picture1", {3840, 960, 735, 255}, "", result},
    ControlRow{"Text4", TextField, "Picture1", {240, 1080, 615, 285}, "", plain},
    ControlRow{"Label29", Label, "Picture1", {2640, 2040, 135, 135}, "*", fieldCaptionCentred},
    ControlRow{"Text5", TextField, "Picture1", {2040, 2160, 615, 285}, "", plain},
    ControlRow{"Label27", Label, "Picture1", {120, 2760, 2175, 375}, "Канатоёмкость, м", legend},
    ControlRow{"Label20", Label, "Picture1", {2400, 2760, 975, 255}, "", resultLeft},
};

static_assert(std::all_of(controls.begin(), controls.end(), [](const ControlRow& row) { return row.box.wholePixels(); }),
              "every box must be a whole number of pixels at 96 dots per inch");

constexpr std::array<std::string_view, 6> layerCounts{"1", "2", "3", "4", "5", "6"};
constexpr std::array<std::string_view, 2> drumMaterials{"Сталь. сварн.(1400 кг/см2)", "Чугунный(1000 кг/см2)"};
constexpr std::array lists{
    ListRow{"Combo1", layerCounts},
    ListRow{"Combo2", drumMaterials},
};

constexpr std::array<std::string_view, 19> tabStops{
    "Text1", "Option1", "Option2", "Option3", "Option4", "Text3", "Command1", "Command2", "Text2",
    "Text6", "Combo1", "Option5", "Option6", "Command3", "Picture1", "Text7", "Combo2", "Text4", "Text5",
};

constexpr std::array captions{
    CaptionRow{"Label1", "Text1"},    CaptionRow{"Label5", "Text3"},    CaptionRow{"Label2", "Label3"},
    CaptionRow{"Label4", "Text2"},    CaptionRow{"Label7", "Label8"},   CaptionRow{"Label9", "Label10"},
    CaptionRow{"Label13", "Text6"},   CaptionRow{"Label14", "Combo1"},  CaptionRow{"Label28", "Text7"},
    CaptionRow{"Label11", "Combo2"},  CaptionRow{"Label17", "Label19"}, CaptionRow{"Label15", "Label18"},
    CaptionRow{"Label24", "Label16"}, CaptionRow{"Label27", "Label20"},
};
// clang-format on

} // namespace

std::span<const ControlRow> controlRows()
{
    return controls;
}
std::span<const ListRow> listRows()
{
    return lists;
}
std::span<const std::string_view> tabOrder()
{
    return tabStops;
}
std::span<const CaptionRow> captionRows()
{
    return captions;
}

std::string_view choiceText(std::string_view control, int item)
{
    if (item < 0) {
        for (const ControlRow& row : controlRows())
            if (row.name == control && row.kind == Kind::OptionButton)
                return row.text;
        return {};
    }
    for (const ListRow& list : listRows())
        if (list.list == control && static_cast<std::size_t>(item) < list.items.size())
            return list.items[static_cast<std::size_t>(item)];
    return {};
}

} // namespace kalventa::ui
