#pragma once
// What the command line asks of a calculation file without a window: its
// calculation note written to a PDF file (--report), or its results printed
// (--results). The file is opened into a window that is never shown, exactly
// as the window's Ctrl+O opens it, so that the note and the results are those
// the window would give.

#include "ui/command_line.h"

namespace kalventa::ui {

// Needs a QApplication (the offscreen platform will do). Writes the note or
// the results, and what is to be said of the file on standard error; gives
// the exit status.
int runWithoutWindow(const CommandLine& command);

} // namespace kalventa::ui
