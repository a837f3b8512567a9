#pragma once
// The message the engineer reads when a calculation stops with a run-time
// error: what went wrong and, where the calculation knows it, which quantity,
// in the words of the window's captions. One text for every window that shows
// it (the desktop's message box, the browser page's dialog).

#include "core/runtime_error.h"

#include <string>

namespace kalventa {

// UTF-8, lines separated by "\n".
std::string errorText(const RuntimeError& error);

} // namespace kalventa
