#pragma once
// The formula behind each result, in the result label's tooltip: before a
// run of its calculation the formula in symbols and what the quantity is;
// after one the formula with the run's values substituted, or that an error
// stopped the run before the label. Nothing visible changes until the pointer
// rests on a label.

#include "core/run_history.h"

class QWidget;

namespace kalventa::ui {

void showFormulas(QWidget& window, const RunHistory& history);

} // namespace kalventa::ui
