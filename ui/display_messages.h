#pragma once
// What the program says when it has no display to show its window on, or
// loses the one it had: one Russian line on standard error and exit status 1,
// rather than Qt's abort with a core dump and English advice to reinstall.

namespace kalventa::ui {

// Call before the application object is made: Qt's messages are held until
// it is up, so that a failed start says only why.
void watchTheDisplay();

// Call once the application object is made: the held messages are passed on.
void displayOpened();

} // namespace kalventa::ui
