#pragma once
// Qt's own dialogs (the file dialog, the print preview, the question before a
// file is replaced) in the window's language, whatever the system's.

class QCoreApplication;

namespace kalventa::ui {

// Installs the Russian translations that the system's Qt brings (Debian:
// qt6-translations-l10n); where they are missing the dialogs stay English.
void translateQtDialogs(QCoreApplication& application);

} // namespace kalventa::ui
