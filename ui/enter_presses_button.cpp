#include "ui/enter_presses_button.h"

#include <QKeyEvent>
#include <QPushButton>

namespace kalventa::ui {
namespace {

class EnterPressesButton final : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::KeyPress)
            return false;
        const auto* key = static_cast<QKeyEvent*>(event);
        const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
        // Enter on the number pad carries the keypad modifier; any other
        // modifier makes it another shortcut.
        if (!enter || (key->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier)
            return false;
        if (!key->isAutoRepeat())
            static_cast<QPushButton*>(watched)->click();
        return true;
    }
};

} // namespace

void pressButtonsWithEnter(QWidget& window)
{
    auto* filter = new EnterPressesButton(&window);
    for (QPushButton* button : window.findChildren<QPushButton*>())
        button->installEventFilter(filter);
}

} // namespace kalventa::ui
