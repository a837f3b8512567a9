// The print preview module (ui/print_preview.h): Qt's print preview dialog
// over pages the program paints.

#include "ui/print_preview.h"

#include <QPrintPreviewDialog>
#include <QPrinter>

extern "C" Q_DECL_EXPORT void kalventa_open_print_preview(const kalventa::ui::PrintPreviewRequest& request)
{
    auto* dialog = new QPrintPreviewDialog(request.parent);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setWindowModality(Qt::WindowModal);
    dialog->setWindowTitle(request.title);
    dialog->printer()->setPageLayout(request.pageLayout);
    dialog->printer()->setDocName(request.title);
    // The dialog keeps its own copy: it repaints whenever the page setup changes.
    QObject::connect(dialog, &QPrintPreviewDialog::paintRequested, dialog,
                     [paint = request.paint](QPrinter* printer) { paint(*printer); });
    dialog->open();
}

// The entry's type as the program calls it.
static_assert(std::is_same_v<decltype(&kalventa_open_print_preview), kalventa::ui::OpenPrintPreviewEntry>);
