// The start-up benchmark's yardstick: a stock Qt window of the calculator's
// size with the same number and kinds of child widgets, the same boxes and
// captions, and nothing else: Qt's default style, font and palette, no icon,
// no handlers. What kalventa costs beyond this is its own.

#include <QApplication>
#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QWidget>

#include <array>
#include <vector>

namespace {

enum class Kind { Group, Label, Field, Option, List, Button, Picture };

struct Row {
    Kind kind;
    int parent; // index of an earlier row, or -1 for the window
    QRect box;  // pixels, from the parent's top-left corner
    const char* text;
};

using enum Kind;

// 5 group boxes, 30 labels, 7 line edits, 6 radio buttons, 2 combo boxes,
// 3 push buttons and 1 frame: 54 widgets, as in the calculator's window.
constexpr std::array<Row, 54> rows{{
    {Group, -1, {8, 8, 425, 193}, "Расчет каната"},
    {Group, -1, {440, 8, 241, 193}, "Допустимые размеры барабана"},
    {Group, -1, {8, 208, 673, 249}, "Расчет канатоёмкости"},
    {Label, -1, {536, 464, 145, 17}, "  Орвинск   V 1.3 "},
    {Label, 0, {16, 24, 105, 17}, "Вес груза, кг"},
    {Field, 0, {120, 24, 57, 19}, ""},
    {Label, 0, {200, 24, 105, 33}, "Разрывное усилие каната, Н"},
    {Field, 0, {320, 24, 57, 19}, ""},
    {Group, 0, {16, 48, 177, 121}, "Режим работы"},
    {Label, 0, {192, 64, 129, 49}, "Минимальное допустимое натяжение каната, Н"},
    {Label, 0, {320, 72, 73, 25}, ""},
    {Button, 0, {216, 120, 177, 25}, "Расчет"},
    {Label, 0, {216, 160, 177, 25}, ""},
    {Option, 8, {16, 24, 89, 17}, "Легкий (к=5)"},
    {Option, 8, {16, 48, 105, 17}, "Средний (к=5,5)"},
    {Option, 8, {16, 72, 97, 17}, "Тяжелый (к=6)"},
    {Option, 8, {16, 96, 105, 17}, "Тяговая (к=4,5)"},
    {Label, 1, {16, 32, 73, 25}, "Диаметр каната, мм"},
    {Field, 1, {96, 32, 57, 19}, ""},
    {Label, 1, {16, 64, 121, 33}, "Минимальный диаметр барабана, мм"},
    {Label, 1, {152, 64, 65, 25}, ""},
    {Label, 1, {16, 96, 121, 33}, "Максимальная длина барабана, мм"},
    {Label, 1, {152, 96, 65, 25}, ""},
    {Button, 1, {32, 136, 185, 25}, "Расчёт"},
    {Picture, 2, {16, 24, 321, 217}, ""},
    {Label, 2, {344, 24, 81, 33}, "Диаметр каната d, мм *"},
    {Group, 2, {512, 24, 145, 65}, "Размер Y (см. черт.)"},
    {Field, 2, {432, 32, 49, 19}, ""},
    {Label, 2, {344, 64, 81, 25}, "Кол-во слоёв каната, мм *"},
    {List, 2, {432, 64, 49, 21}, "1|2|3|4|5|6"},
    {Field, 2, {432, 96, 49, 19}, ""},
    {Label, 2, {504, 96, 161, 33}, "Канатоёмкость без учёта неравномерности укладки, м"},
    {Label, 2, {336, 104, 97, 25}, "Вес груза, кг "},
    {Label, 2, {344, 136, 73, 25}, "Материал барабана"},
    {List, 2, {416, 136, 129, 21}, "Сталь. сварн.(1400 кг/см2)|Чугунный(1000 кг/см2)"},
    {Label, 2, {576, 136, 81, 25}, ""},
    {Button, 2, {408, 176, 193, 25}, "Расчёт"},
    {Label, 2, {336, 216, 329, 17}, "* Ввод данных для определения канатоёмкости"},
    {Option, 26, {16, 16, 57, 17}, "1,5d"},
    {Option, 26, {16, 40, 57, 17}, "2d"},
    {Label, 24, {0, 8, 57, 25}, "Слои"},
    {Label, 24, {56, 8, 41, 17}, ""},
    {Label, 24, {216, 16, 33, 17}, ""},
    {Label, 24, {0, 32, 65, 17}, "Витки"},
    {Label, 24, {56, 32, 33, 17}, ""},
    {Label, 24, {104, 32, 9, 17}, "Y"},
    {Label, 24, {144, 32, 33, 17}, ""},
    {Label, 24, {56, 64, 9, 9}, "*"},
    {Label, 24, {256, 64, 49, 17}, ""},
    {Field, 24, {16, 72, 41, 19}, ""},
    {Label, 24, {176, 136, 9, 9}, "*"},
    {Field, 24, {136, 144, 41, 19}, ""},
    {Label, 24, {8, 184, 145, 25}, "Канатоёмкость, м"},
    {Label, 24, {160, 184, 65, 17}, ""},
}};

QWidget* create(const Row& row, QWidget* parent)
{
    const QString text = QString::fromUtf8(row.text);
    switch (row.kind) {
    case Group: return new QGroupBox(text, parent);
    case Label: return new QLabel(text, parent);
    case Field: return new QLineEdit(parent);
    case Option: return new QRadioButton(text, parent);
    case List: {
        auto* list = new QComboBox(parent);
        list->addItems(text.split(QLatin1Char('|')));
        list->setCurrentIndex(-1);
        return list;
    }
    case Button: return new QPushButton(text, parent);
    case Picture: {
        auto* frame = new QFrame(parent);
        frame->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        return frame;
    }
    }
    return nullptr;
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("Эталон"));
    window.resize(690, 483);
    std::vector<QWidget*> widgets;
    for (const Row& row : rows) {
        QWidget* widget = create(row, row.parent < 0 ? &window : widgets.at(static_cast<std::size_t>(row.parent)));
        widget->setGeometry(row.box);
        widgets.push_back(widget);
    }
    window.show();
    return QApplication::exec();
}
