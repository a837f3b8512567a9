#pragma once
// The message the engineer reads when a calculation stops with a run-time
// error: what went wrong and, where the calculation knows it, which quantity.

#include "core/runtime_error.h"

#include <QString>

namespace kalventa::ui {

QString errorMessage(const RuntimeError& error);

} // namespace kalventa::ui
