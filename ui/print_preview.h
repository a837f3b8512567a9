#pragma once
// Qt's print preview, from a module of the program's own that is loaded when
// the preview is first asked for: Qt's print support library, loaded and
// linked at every start, would cost some 2 % of the instructions up to the
// first frame for a dialog most starts never open.

#include <QPageLayout>
#include <QString>

#include <functional>

class QPagedPaintDevice;
class QWidget;

namespace kalventa::ui {

struct PrintPreviewRequest {
    QString title;
    QPageLayout pageLayout;
    // Paints the pages, each time the preview or the printer needs them.
    std::function<void(QPagedPaintDevice&)> paint;
    QWidget* parent = nullptr;
};

// Opens the preview, window-modal and without blocking; the dialog deletes
// itself when closed. Gives why it could not be opened, in the user's words;
// an empty text when it was.
QString openPrintPreview(const PrintPreviewRequest& request);

// The module's one entry point, as the program looks it up.
using OpenPrintPreviewEntry = void (*)(const PrintPreviewRequest&);
inline constexpr char openPrintPreviewSymbol[] = "kalventa_open_print_preview";

} // namespace kalventa::ui
