#include "ui/report_sketch.h"

#include "ui/drum_sketch.h"
#include "ui/ink.h"
#include "ui/look.h"
#include "ui/text.h"
#include "window/layout_table.h"

#include <QAbstractTextDocumentLayout>
#include <QPaintDevice>
#include <QPainter>
#include <QStringList>
#include <QTextDocument>
#include <QTextObjectInterface>

#include <algorithm>
#include <string>
#include <vector>

namespace kalventa::ui {
namespace {

constexpr std::string_view sketchArea = "Picture1";
// Picture1's sunken border, two pixels on each side; its controls and the
// drawing are placed from the corner inside it.
constexpr int borderPixels = 2;
// The marks "*" beside the two fields say, on the window, which fields the
// sketch explains; on paper the values stand in their places instead.
constexpr std::string_view leftOut[] = {"Label25", "Label29"};

constexpr int valuesProperty = QTextFormat::UserProperty + 1;
constexpr int widthProperty = QTextFormat::UserProperty + 2;

const std::string* valueOf(std::span<const SketchValue> values, std::string_view control)
{
    const auto it = std::ranges::find(values, control, &SketchValue::control);
    return it == values.end() ? nullptr : &it->text;
}

// A text field on paper: a thin frame on white with its text, as read.
void paintField(QPainter& painter, const QRectF& box, const QString& text, qreal scale)
{
    painter.setPen(QPen(QColor(128, 128, 128), scale * 0.5));
    painter.setBrush(Qt::white);
    painter.drawRect(box);
    painter.setPen(standardText);
    painter.drawText(box.adjusted(2 * scale, 0, -scale, 0), Qt::AlignLeft | Qt::AlignVCenter, text);
}

class SketchObject final : public QObject, public QTextObjectInterface {
    Q_OBJECT
    Q_INTERFACES(QTextObjectInterface)

public:
    using QObject::QObject;

    QSizeF intrinsicSize(QTextDocument*, int, const QTextFormat& format) override
    {
        const qreal width = format.doubleProperty(widthProperty);
        const QSizeF pixels = sketchPixelSize();
        return {width, width * pixels.height() / pixels.width()};
    }

    void drawObject(QPainter* painter, const QRectF& rect, QTextDocument*, int, const QTextFormat& format) override
    {
        const QStringList flat = format.property(valuesProperty).toStringList();
        std::vector<SketchValue> values;
        for (qsizetype i = 0; i + 1 < flat.size(); i += 2)
            values.push_back({flat[i].toStdString(), flat[i + 1].toStdString()});
        paintSketchWithValues(*painter, rect, values);
    }
};

} // namespace

QSizeF sketchPixelSize()
{
    const auto rows = controlRows();
    const auto area = std::ranges::find(rows, sketchArea, &ControlRow::name);
    const QRect box = inPixels(area->box);
    return QSizeF(box.width() - 2 * borderPixels, box.height() - 2 * borderPixels);
}

void registerSketchObject(QTextDocument& document)
{
    // The document owns the painter of its sketches.
    document.documentLayout()->registerHandler(sketchObjectType, new SketchObject(&document));
}

QTextCharFormat sketchObjectFormat(std::span<const SketchValue> values, qreal width)
{
    QStringList flat;
    for (const SketchValue& value : values)
        flat << fromUtf8(value.control) << fromUtf8(value.text);
    QTextCharFormat format;
    format.setObjectType(sketchObjectType);
    format.setProperty(valuesProperty, flat);
    format.setProperty(widthProperty, width);
    return format;
}

void paintSketchWithValues(QPainter& painter, const QRectF& box, std::span<const SketchValue> values)
{
    // Painter units to one of the window's pixels, and the fonts' point sizes
    // enlarged alike: a point is 96/72 pixels on the window, dpi/72 units here.
    const qreal scale = box.width() / sketchPixelSize().width();
    const qreal dpi = painter.device() ? painter.device()->logicalDpiY() : 96;
    const qreal fontScale = scale * 96 / dpi;

    painter.save();
    painter.translate(box.topLeft());
    painter.setClipRect(QRectF(QPointF(0, 0), box.size()), Qt::IntersectClip);
    paintDrumSketch(painter, scale);

    for (const ControlRow& control : controlRows()) {
        if (control.container != sketchArea || std::ranges::find(leftOut, control.name) != std::end(leftOut))
            continue;
        const std::string* value = valueOf(values, control.name);
        const QString text = value ? fromUtf8(*value) : fromUtf8(control.text);
        if (text.isEmpty())
            continue;
        const QRect pixels = inPixels(control.box);
        const QRectF place(pixels.x() * scale, pixels.y() * scale, pixels.width() * scale, pixels.height() * scale);
        QFont font = windowFont(control.look.font);
        font.setPointSizeF(font.pointSizeF() * fontScale);
        painter.setFont(font);

        painter.save();
        if (control.kind == Kind::TextField) {
            paintField(painter, place, text, scale);
        } else {
            painter.setClipRect(place, Qt::IntersectClip);
            painter.setPen(inkColour(control.look.ink));
            const Qt::Alignment across = control.look.align == Align::Centred ? Qt::AlignHCenter : Qt::AlignLeft;
            painter.drawText(place, int(across | Qt::AlignTop | Qt::TextWordWrap), text);
        }
        painter.restore();
    }
    painter.restore();
}

} // namespace kalventa::ui

#include "report_sketch.moc"
