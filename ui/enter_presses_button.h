#pragma once
// Enter or Return on a focused button presses it, as Space does: what users
// of the desktop the calculator comes from expect. Nothing else changes: Enter
// in a field still does nothing. (Qt's auto-default buttons would do this
// too, but they draw a default frame that shifts the button's face.)

class QWidget;

namespace kalventa::ui {

void pressButtonsWithEnter(QWidget& window);

} // namespace kalventa::ui
