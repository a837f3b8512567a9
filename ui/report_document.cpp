#include "ui/report_document.h"

#include "ui/report_text.h"
#include "ui/text.h"

#include <QAbstractTextDocumentLayout>
#include <QDir>
#include <QFileInfo>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QSaveFile>
#include <QTextDocument>

namespace kalventa::ui {
namespace {

// The margins of a text document without a frame, in millimetres: wide on
// the left for binding. The bottom one holds the sheet number, under the body.
constexpr qreal leftMargin = 30, topMargin = 15, rightMargin = 10, bottomMargin = 10;
constexpr qreal footerHeight = 10; // between the body and the bottom margin
constexpr qreal footerPoints = 10;

QPageLayout a4Portrait()
{
    return QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                       QMarginsF(leftMargin, topMargin, rightMargin, bottomMargin), QPageLayout::Millimeter);
}

void paintFooter(QPainter& painter, const QRectF& band, int page, int pages)
{
    painter.save();
    painter.setFont(reportFont(footerPoints));
    painter.setPen(Qt::black);
    painter.drawText(band, Qt::AlignRight | Qt::AlignVCenter, QStringLiteral("Лист %1 из %2").arg(page).arg(pages));
    painter.restore();
}

} // namespace

void paintReport(const Report& report, QPagedPaintDevice& device)
{
    device.setPageLayout(a4Portrait());
    QPainter painter(&device);
    if (!painter.isActive())
        return;

    // The painter's origin is the top-left corner inside the margins. The
    // document is in dots of its own resolution, scaled to the device's.
    const qreal scaleX = device.logicalDpiX() / reportLayoutDpi;
    const qreal scaleY = device.logicalDpiY() / reportLayoutDpi;
    const qreal footer = footerHeight * device.logicalDpiY() / 25.4;
    const QSizeF body(device.width() / scaleX, (device.height() - footer) / scaleY);
    const std::unique_ptr<QTextDocument> document = reportTextDocument(report, body);

    // Each page shows its slice of the document laid out in one long column.
    const int pages = document->pageCount();
    for (int page = 0; page < pages; ++page) {
        if (page > 0)
            device.newPage();
        const QRectF slice(0, page * body.height(), body.width(), body.height());
        painter.save();
        painter.scale(scaleX, scaleY);
        painter.translate(0, -slice.top());
        painter.setClipRect(slice);
        // A line or a row that starts right at the page's end belongs to the
        // next page: left out here, not only clipped, so that the PDF file
        // holds its text once.
        QAbstractTextDocumentLayout::PaintContext context;
        context.clip = slice.adjusted(0, 0, 0, -1);
        document->documentLayout()->draw(&painter, context);
        painter.restore();
        paintFooter(painter, QRectF(0, device.height() - footer, device.width(), footer), page + 1, pages);
    }
}

// As the engineer can act on it.
QString saveFailureReason(const QString& path, const QSaveFile& file)
{
    const QFileInfo target(path);
    if (!target.absoluteDir().exists())
        return QStringLiteral("нет такой папки");
    if (target.isDir())
        return QStringLiteral("это имя папки, а не файла");
    switch (file.error()) {
    case QFileDevice::ResourceError: return QStringLiteral("диск заполнен");
    case QFileDevice::OpenError:
    case QFileDevice::PermissionsError: return QStringLiteral("нет прав на запись в эту папку");
    default: return QStringLiteral("ошибка записи (%1)").arg(file.errorString());
    }
}

QString saveReportPdf(const Report& report, const QString& path)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return saveFailureReason(path, file);
    {
        QPdfWriter writer(&file);
        writer.setTitle(fromUtf8(report.title));
        writer.setCreator(fromUtf8(report.program));
        paintReport(report, writer);
    }
    return file.commit() ? QString() : saveFailureReason(path, file);
}

void openReportPreview(const Report& report, QWidget* parent)
{
    auto* dialog = new QPrintPreviewDialog(parent);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setWindowModality(Qt::WindowModal);
    dialog->setWindowTitle(fromUtf8(report.title));
    dialog->printer()->setPageLayout(a4Portrait());
    dialog->printer()->setDocName(fromUtf8(report.title));
    // The dialog keeps its own copy: it repaints whenever the page setup changes.
    QObject::connect(dialog, &QPrintPreviewDialog::paintRequested, dialog,
                     [report](QPrinter* printer) { paintReport(report, *printer); });
    dialog->open();
}

} // namespace kalventa::ui
