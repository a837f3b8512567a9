#pragma once
// The check against today's rules as the last section of the calculation
// report, set as the report's own sections are: on a page of its own, its
// heading numbered on, what it is, any warning in red, the table of inputs
// (numbered on), the formulas numbered at the right, «где», the verdicts, the
// rules cited and what its numbers are. Every text goes in as plain text.

#include "core/note_outline.h"

#include <span>

class QTextCursor;

namespace kalventa::ui {

// Writes the check's blocks of the note's outline, from its heading on, after
// what the cursor's document holds.
void writeRulesCheckNote(QTextCursor& cursor, std::span<const NoteBlock> blocks);

} // namespace kalventa::ui
