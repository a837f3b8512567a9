#include "ui/widget_controls.h"

#include "ui/text.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

#include <stdexcept>
#include <string>

namespace kalventa::ui {

template <class Widget>
Widget& WidgetControls::find(std::string_view name) const
{
    const QString objectName = fromUtf8(name);
    auto* widget = window_.findChild<Widget*>(objectName);
    // A calculation asking for a control the window lacks is a fault of the
    // program, not of the input: it must not pass as a run-time error.
    if (!widget)
        throw std::logic_error("the window has no control " + std::string(name) + " of the kind asked for");
    return *widget;
}

std::string WidgetControls::text(std::string_view name)
{
    return find<QLineEdit>(name).text().toStdString();
}

Integer WidgetControls::value(std::string_view name)
{
    return find<QRadioButton>(name).isChecked() ? Integer{-1} : Integer{0};
}

Integer WidgetControls::listIndex(std::string_view name)
{
    // A list holds at most six items, so its index fits an Integer.
    return static_cast<Integer>(find<QComboBox>(name).currentIndex());
}

void WidgetControls::setCaption(std::string_view name, std::string_view caption)
{
    find<QLabel>(name).setText(fromUtf8(caption));
}

} // namespace kalventa::ui
