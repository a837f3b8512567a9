#include "ui/error_message.h"

#include "core/error_text.h"

namespace kalventa::ui {

QString errorMessage(const RuntimeError& error)
{
    return QString::fromStdString(errorText(error));
}

} // namespace kalventa::ui
