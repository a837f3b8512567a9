#include "ui/print_preview.h"

#include <QCoreApplication>
#include <QLibrary>

namespace kalventa::ui {
namespace {

// The module's entry, loaded once and kept for the program's life; null when
// it cannot be loaded, `why` saying why.
OpenPrintPreviewEntry loadEntry(QString& why)
{
    static QString failure;
    static const OpenPrintPreviewEntry entry = [] {
        // Where it is installed beside the program, whatever the prefix; then
        // by its name alone, as the system finds libraries (LD_LIBRARY_PATH:
        // the tests' programs, which lie elsewhere in the build tree).
        const QString name = QStringLiteral("kalventa-print-preview");
        QLibrary besideProgram(QCoreApplication::applicationDirPath()
                               + QStringLiteral("/" KALVENTA_PRINT_MODULE_FROM_PROGRAM "/") + name);
        if (auto found = reinterpret_cast<OpenPrintPreviewEntry>(besideProgram.resolve(openPrintPreviewSymbol)))
            return found;
        failure = besideProgram.errorString();
        QLibrary byName(name);
        return reinterpret_cast<OpenPrintPreviewEntry>(byName.resolve(openPrintPreviewSymbol));
    }();
    why = failure;
    return entry;
}

} // namespace

QString openPrintPreview(const PrintPreviewRequest& request)
{
    QString why;
    const OpenPrintPreviewEntry entry = loadEntry(why);
    if (!entry)
        return QStringLiteral("модуль печати не загружен (%1)").arg(why);
    entry(request);
    return {};
}

} // namespace kalventa::ui
