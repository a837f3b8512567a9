#pragma once
// The check against today's rules as the last section of the calculation
// report, set as the report's own sections are: on a page of its own, its
// heading numbered on, what it is, any warning in red, the table of inputs
// (numbered on), the formulas numbered at the right, «где», the verdicts, the
// rules cited and what its numbers are. Every text goes in as plain text.

#include "core/rules_check_report.h"

class QTextCursor;

namespace kalventa::ui {

// Writes the note after what the cursor's document holds; `tables` is the
// number of the report's last table, and is counted on.
void writeRulesCheckNote(QTextCursor& cursor, const rules::RulesCheckNote& note, int sectionNumber, int& tables);

} // namespace kalventa::ui
