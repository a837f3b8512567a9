#include "ui/file_window.h"

#include "ui/text.h"
#include "ui/text_field.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

#include <stdexcept>
#include <string>

namespace kalventa::ui {

template <class Widget>
Widget& WidgetFileWindow::find(std::string_view name) const
{
    auto* widget = root_.findChild<Widget*>(fromUtf8(name));
    // The file's keys name the window's own controls: one missing is a fault
    // of the program, not of the file.
    if (!widget)
        throw std::logic_error("the window has no control " + std::string(name) + " of the kind asked for");
    return *widget;
}

std::string WidgetFileWindow::text(std::string_view control)
{
    QWidget& widget = find<QWidget>(control);
    if (auto* field = qobject_cast<QLineEdit*>(&widget))
        return field->text().toStdString();
    if (auto* label = qobject_cast<QLabel*>(&widget))
        return label->text().toStdString();
    if (auto* button = qobject_cast<QAbstractButton*>(&widget))
        return button->text().toStdString();
    throw std::logic_error("the control " + std::string(control) + " shows no text");
}

Integer WidgetFileWindow::value(std::string_view option)
{
    return find<QRadioButton>(option).isChecked() ? Integer{-1} : Integer{0};
}

Integer WidgetFileWindow::listIndex(std::string_view list)
{
    return static_cast<Integer>(find<QComboBox>(list).currentIndex());
}

std::vector<std::string> WidgetFileWindow::listItems(std::string_view list)
{
    const QComboBox& box = find<QComboBox>(list);
    std::vector<std::string> items;
    for (int i = 0; i < box.count(); ++i)
        items.push_back(box.itemText(i).toStdString());
    return items;
}

bool WidgetFileWindow::holds(std::string_view field, std::string_view text)
{
    QLineEdit& edit = find<QLineEdit>(field);
    // The window's fields hold their own capacity; the check's plain ones
    // their maximum length.
    const qsizetype limit = qobject_cast<TextField*>(&edit) ? TextField::capacity : edit.maxLength();
    return fromUtf8(text).size() <= limit;
}

void WidgetFileWindow::setText(std::string_view field, std::string_view text)
{
    find<QLineEdit>(field).setText(fromUtf8(text));
}

void WidgetFileWindow::choose(std::string_view option)
{
    find<QRadioButton>(option).setChecked(true);
}

void WidgetFileWindow::setListIndex(std::string_view list, Integer index)
{
    find<QComboBox>(list).setCurrentIndex(index);
}

} // namespace kalventa::ui
