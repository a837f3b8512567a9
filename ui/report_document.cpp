#include "ui/report_document.h"

#include "core/title_block.h"

#include "ui/print_preview.h"
#include "ui/report_text.h"
#include "ui/text.h"

#include <QAbstractTextDocumentLayout>
#include <QDir>
#include <QFileInfo>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>
#include <QTextDocument>

#include <functional>

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

// Each page shows its slice of the document laid out in one long column, its
// top left corner at `origin` on the device; `decorate` paints the rest of
// page `page`, counted from 0.
void paintPages(QPagedPaintDevice& device, QPainter& painter, QTextDocument& document, const QPointF& origin,
                const std::function<void(int)>& decorate)
{
    const qreal scaleX = device.logicalDpiX() / reportLayoutDpi;
    const qreal scaleY = device.logicalDpiY() / reportLayoutDpi;
    const QSizeF body = document.pageSize();
    const int pages = document.pageCount();
    for (int page = 0; page < pages; ++page) {
        if (page > 0)
            device.newPage();
        const QRectF slice(0, page * body.height(), body.width(), body.height());
        painter.save();
        if (!origin.isNull())
            painter.translate(origin);
        painter.scale(scaleX, scaleY);
        painter.translate(0, -slice.top());
        painter.setClipRect(slice);
        // A line or a row that starts right at the page's end belongs to the
        // next page: left out here, not only clipped, so that the PDF file
        // holds its text once.
        QAbstractTextDocumentLayout::PaintContext context;
        context.clip = slice.adjusted(0, 0, 0, -1);
        document.documentLayout()->draw(&painter, context);
        painter.restore();
        decorate(page);
    }
}

// A box's text in the size asked for, or smaller until it fits: down to
// minimumPoints, then cut short with an ellipsis (one line) or at the box.
void paintCell(QPainter& painter, const InscriptionCell& cell, qreal dotsPerMm)
{
    constexpr qreal minimumPoints = 5;
    const qreal inset = (cell.centred ? 0.5 : 1) * dotsPerMm;
    const QRectF box(cell.box.x * dotsPerMm, cell.box.y * dotsPerMm, cell.box.width * dotsPerMm,
                     cell.box.height * dotsPerMm);
    const QRectF inner = box.adjusted(inset, 0, -inset, 0);
    const int flags = int((cell.centred ? Qt::AlignHCenter : Qt::AlignLeft) | Qt::AlignVCenter)
        | (cell.wrapped ? int(Qt::TextWordWrap) : 0);
    QString words = fromUtf8(cell.text);
    QFont font = reportFont(cell.points, cell.bold);
    for (qreal points = cell.points;; points -= 0.5) {
        font.setPointSizeF(points);
        const QRectF needed = QFontMetricsF(font, painter.device()).boundingRect(inner, flags, words);
        if ((needed.width() <= inner.width() && needed.height() <= inner.height()) || points <= minimumPoints)
            break;
    }
    if (!cell.wrapped)
        words = QFontMetricsF(font, painter.device()).elidedText(words, Qt::ElideRight, inner.width());
    painter.save();
    painter.setFont(font);
    painter.setClipRect(box);
    painter.drawText(inner, flags, words);
    painter.restore();
}

void paintFramedSheet(QPainter& painter, const FramedSheet& sheet, qreal dotsPerMm)
{
    painter.save();
    painter.setPen(Qt::black);
    for (const InscriptionCell& cell : sheet.cells)
        if (!cell.text.empty())
            paintCell(painter, cell, dotsPerMm);
    for (const Rule& rule : sheet.rules) {
        const qreal width = rule.weight == LineWeight::Main ? mainLineWidth : thinLineWidth;
        painter.setPen(QPen(Qt::black, width * dotsPerMm, Qt::SolidLine, Qt::SquareCap));
        painter.drawLine(QPointF(rule.x1, rule.y1) * dotsPerMm, QPointF(rule.x2, rule.y2) * dotsPerMm);
    }
    painter.restore();
}

// Every sheet in its frame with the main inscription, numbered there; the
// text in the area the frame leaves.
void paintFramedReport(const Report& report, QPagedPaintDevice& device)
{
    QPageLayout layout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(), QPageLayout::Millimeter);
    layout.setMode(QPageLayout::FullPageMode);
    device.setPageLayout(layout);
    QPainter painter(&device);
    if (!painter.isActive())
        return;

    const qreal dotsPerMm = device.logicalDpiX() / 25.4;
    const MmRect area = framedSheet(report.titleData, report.title, 1, 1).text;
    const qreal documentDotsPerMm = reportLayoutDpi / 25.4;
    const std::unique_ptr<QTextDocument> document
        = reportTextDocument(report, QSizeF(area.width * documentDotsPerMm, area.height * documentDotsPerMm));
    const int pages = document->pageCount();
    paintPages(device, painter, *document, QPointF(area.x, area.y) * dotsPerMm, [&](int page) {
        paintFramedSheet(painter, framedSheet(report.titleData, report.title, page + 1, pages), dotsPerMm);
    });
}

} // namespace

void paintReport(const Report& report, QPagedPaintDevice& device)
{
    if (report.titleData.frame) {
        paintFramedReport(report, device);
        return;
    }
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

    const int pages = document->pageCount();
    paintPages(device, painter, *document, {}, [&](int page) {
        paintFooter(painter, QRectF(0, device.height() - footer, device.width(), footer), page + 1, pages);
    });
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

QString openReportPreview(const Report& report, QWidget* parent)
{
    return openPrintPreview({fromUtf8(report.title), a4Portrait(),
                             [report](QPagedPaintDevice& device) { paintReport(report, device); }, parent});
}

} // namespace kalventa::ui
