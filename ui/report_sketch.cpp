#include "ui/report_sketch.h"

#include "core/note_outline.h"
#include "ui/drum_sketch.h"
#include "ui/ink.h"
#include "ui/look.h"
#include "ui/text.h"
#include "window/layout_table.h"

#include <QAbstractTextDocumentLayout>
#include <QFontMetricsF>
#include <QPaintDevice>
#include <QPainter>
#include <QStringList>
#include <QTextDocument>
#include <QTextObjectInterface>

#include <algorithm>
#include <limits>
#include <optional>
#include <string>
#include <vector>

namespace kalventa::ui {
namespace {

constexpr std::string_view sketchArea = "Picture1";
// Picture1's sunken border, two pixels on each side; its controls and the
// drawing are placed from the corner inside it.
constexpr int borderPixels = 2;
// On paper a value is whole, with its unit: it may run past its control's
// box, along the free stretch of the sketch around it (in twips, from the
// left inside the border) and at the sketch's sides into the room the page
// leaves beside it, and is set smaller only where that is too short.
struct Room {
    std::string_view control;
    int left, right;
};
constexpr int leftEdge = std::numeric_limits<int>::min();
constexpr int rightEdge = std::numeric_limits<int>::max();
constexpr Room rooms[] = {
    {"Label18", 840, 2300},       // the layers, after «Слои», along the free top row
    {"Label16", 840, 1545},       // the turns, after «Витки», up to the Y
    {"Label12", 2400, rightEdge}, // the leftover length, over its dimension, to the right edge
    {"Label23", 1950, 2870},      // the wall thickness, over its shelf, between the dimensions around
    {"Label21", 3760, rightEdge}, // the flange diameter, on its shelf
    {"Text4", leftEdge, 950},     // the drum diameter, left of its extension lines
    {"Text5", 1580, 3100},        // the drum length, between its extension lines
    {"Label20", 2400, rightEdge}, // the rope capacity, after its legend
};
constexpr int valuesProperty = QTextFormat::UserProperty + 1;
constexpr int widthProperty = QTextFormat::UserProperty + 2;
constexpr int reachProperty = QTextFormat::UserProperty + 3;

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
    painter.drawText(box.adjusted(2 * scale, 0, -scale, 0), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextDontClip, text);
}

// Where a value's text of `width` goes across its room: from its control's
// left edge or centred on it as the control aligns it, moved back into the
// room where it would run out of it.
qreal across(const QRectF& place, qreal width, qreal left, qreal right, bool centred)
{
    const qreal x = centred ? place.center().x() - width / 2 : place.left();
    return std::max(left, std::min(x, right - width));
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
        paintSketchWithValues(*painter, rect, values, format.doubleProperty(reachProperty));
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

QTextCharFormat sketchObjectFormat(std::span<const SketchValue> values, qreal width, qreal reach)
{
    QStringList flat;
    for (const SketchValue& value : values)
        flat << fromUtf8(value.control) << fromUtf8(value.text);
    QTextCharFormat format;
    format.setObjectType(sketchObjectType);
    format.setProperty(valuesProperty, flat);
    format.setProperty(widthProperty, width);
    format.setProperty(reachProperty, reach);
    return format;
}

void paintSketchWithValues(QPainter& painter, const QRectF& box, std::span<const SketchValue> values, qreal reach)
{
    // Painter units to one of the window's pixels, and the fonts' point sizes
    // enlarged alike: a point is 96/72 pixels on the window, dpi/72 units here.
    const qreal scale = box.width() / sketchPixelSize().width();
    const qreal dpi = painter.device() ? painter.device()->logicalDpiY() : 96;
    const qreal fontScale = scale * 96 / dpi;

    painter.save();
    painter.translate(box.topLeft());
    painter.setClipRect(QRectF(QPointF(-reach, 0), box.size() + QSizeF(2 * reach, 0)), Qt::IntersectClip);
    paintDrumSketch(painter, scale);

    for (const ControlRow& control : controlRows()) {
        if (control.container != sketchArea)
            continue;
        const std::string* value = valueOf(values, control.name);
        const std::optional<std::string> paper = sketchPaperText(control.name, values);
        const QString text = fromUtf8(paper ? *paper : control.text);
        if (text.isEmpty())
            continue;
        const QRect pixels = inPixels(control.box);
        const QRectF place(pixels.x() * scale, pixels.y() * scale, pixels.width() * scale, pixels.height() * scale);
        QFont font = windowFont(control.look.font);
        font.setPointSizeF(font.pointSizeF() * fontScale);
        const bool centred = control.look.align == Align::Centred;
        const auto room = std::ranges::find(rooms, control.name, &Room::control);

        painter.save();
        if (value && room != std::end(rooms)) {
            // The whole value on one line, in its room.
            const qreal left = room->left == leftEdge ? -reach : room->left * scale / twipsPerPixel;
            const qreal right = room->right == rightEdge ? box.width() + reach : room->right * scale / twipsPerPixel;
            const qreal padding = control.kind == Kind::TextField ? 3 * scale : 0;
            const qreal width = QFontMetricsF(font, painter.device()).horizontalAdvance(text) + padding;
            if (width > right - left)
                font.setPointSizeF(font.pointSizeF() * (right - left - padding) / (width - padding));
            const qreal fitted = std::min(width, right - left);
            painter.setFont(font);
            if (control.kind == Kind::TextField) {
                const qreal frame = std::max(place.width(), fitted);
                paintField(painter,
                           QRectF(across(place, frame, left, right, centred), place.top(), frame, place.height()), text,
                           scale);
            } else {
                painter.setPen(inkColour(control.look.ink));
                painter.drawText(
                    QRectF(across(place, fitted, left, right, centred), place.top(), fitted, place.height()),
                    int(Qt::AlignLeft | Qt::AlignTop | Qt::TextDontClip), text);
            }
        } else if (control.kind == Kind::TextField) {
            painter.setFont(font);
            paintField(painter, place, text, scale);
        } else {
            painter.setFont(font);
            painter.setClipRect(place, Qt::IntersectClip);
            painter.setPen(inkColour(control.look.ink));
            painter.drawText(place, int((centred ? Qt::AlignHCenter : Qt::AlignLeft) | Qt::AlignTop | Qt::TextWordWrap),
                             text);
        }
        painter.restore();
    }
    painter.restore();
}

} // namespace kalventa::ui

#include "report_sketch.moc"
