#pragma once
// What a screen reader is told about the window where Qt's own accessible
// interfaces would mislead it: the window is a frame (a plain top-level
// widget would be a "filler"), the drum sketch is a picture, and a list keeps
// its caption as its name whatever item is chosen (Qt names a list on Linux
// by its current item, so "3" would be heard instead of the layer count).

namespace kalventa::ui {

// Once per program, before the window is first shown; safe to call again.
void installAccessibleInterfaces();

} // namespace kalventa::ui
