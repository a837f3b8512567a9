#pragma once
// Notices on the input fields whose text a run did not read whole ("5,5"
// read as 5): the field's tooltip and its description for a screen reader,
// and a balloon at the first such field right after the click. A notice goes
// when its field's text changes or a later run reads the field whole. What
// was typed is never changed or filtered.

#include "core/run_record.h"

class QWidget;

namespace kalventa::ui {

// Every text field of the window drops its notice when its text changes.
void dropNoticesOnEdit(QWidget& window);

// The notices of the fields the run read; fields it did not read keep theirs.
void showNotices(QWidget& window, const RunRecord& record);

} // namespace kalventa::ui
