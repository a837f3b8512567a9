#pragma once
// A command of the window beyond the old one: an action in its context menu
// with its key shown beside it, which the key triggers wherever the focus is
// in the window.

#include <QAction>
#include <QKeySequence>
#include <QString>
#include <QWidget>

namespace kalventa::ui {

inline QAction* addWindowAction(QWidget& window, const QString& text, const QKeySequence& keys = {})
{
    auto* action = new QAction(text, &window);
    action->setShortcut(keys);
    action->setShortcutVisibleInContextMenu(true);
    window.addAction(action);
    return action;
}

} // namespace kalventa::ui
