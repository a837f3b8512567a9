#pragma once
// The check against today's rules in a dialog of its own beside the window,
// «Проверка по действующим правилам», opened from the window's context menu
// or with F9. It is not modal: it reads the window's fields and last runs as
// they stand and works the check out again whenever they or its own inputs
// change. Nothing of the window changes with it, and until it is first opened
// the window, its report and its copied results are as they were.

#include "core/rules_check.h"
#include "core/run_history.h"

#include <QKeySequence>

#include <optional>

class QWidget;

namespace kalventa::ui {

// The key that opens the check.
inline const QKeySequence rulesCheckKey{Qt::Key_F9};

// Adds the check's action (context menu and key) to the window.
void addRulesCheck(QWidget& window, const RunHistory& history);

// Shows the check's dialog beside the window, as its action does.
void openRulesCheck(QWidget& window, const RunHistory& history);
// The check's dialog, made hidden when it was not yet there (from then on it
// counts as opened).
QWidget& rulesCheckDialog(QWidget& window, const RunHistory& history);
// The check's dialog; null while it has not been opened.
QWidget* openedRulesCheck(const QWidget& window);

// The check as its dialog stands now, worked out afresh on the window's
// fields and runs; none while it has not been opened.
std::optional<rules::CheckResult> currentRulesCheck(const QWidget& window);

// Today as the rule tables date themselves.
rules::CalendarDate today();

} // namespace kalventa::ui
