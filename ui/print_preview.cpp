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
        // Where it is installed beside the program (bin/../lib/kalventa,
        // whatever the prefix), then where the build writes it.
        const QStringList folders{QCoreApplication::applicationDirPath()
                                      + QStringLiteral("/../" KALVENTA_MODULE_INSTALL_DIR),
                                  QStringLiteral(KALVENTA_MODULE_BUILD_DIR)};
        for (const QString& folder : folders) {
            QLibrary module(folder + QStringLiteral("/kalventa-print-preview"));
            if (auto found = reinterpret_cast<OpenPrintPreviewEntry>(module.resolve(openPrintPreviewSymbol)))
                return found;
            failure = module.errorString();
        }
        return OpenPrintPreviewEntry{};
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
