#include "ui/drum_sketch.h"

#include "ui/look.h"
#include "ui/sketch_table.h"

#include <QPainter>
#include <QPen>

namespace kalventa::ui {
namespace {

QColor inkColour(SketchInk ink)
{
    switch (ink) {
    case SketchInk::Outline: return sketchOutline;
    case SketchInk::Dimension: return sketchDimension;
    case SketchInk::WindowText: return standardText;
    }
    return standardText;
}

// The centre of the pixel a point in twips falls on: an aliased pen one pixel
// wide then covers exactly that pixel, at any device pixel ratio.
QPointF pixelCentre(int xTwips, int yTwips)
{
    return {pixels(xTwips) + 0.5, pixels(yTwips) + 0.5};
}

} // namespace

DrumSketch::DrumSketch(QWidget* parent) : QFrame(parent)
{
    // The classic two-pixel sunken border of a picture box, whatever the style.
    setFrameStyle(QFrame::WinPanel | QFrame::Sunken);
    setAutoFillBackground(true);
    // It is a Tab stop, but shows no focus mark.
    setFocusPolicy(Qt::StrongFocus);
}

QRect DrumSketch::placeInside(const TwipRect& box) const
{
    return box.inPixels().translated(contentsRect().topLeft());
}

void DrumSketch::paintEvent(QPaintEvent* event)
{
    QFrame::paintEvent(event);

    QPainter painter(this);
    painter.setClipRect(contentsRect());
    painter.translate(contentsRect().topLeft());
    // Aliased, so that every line and circle keeps its exact colour.
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setBrush(Qt::NoBrush);

    QPen pen;
    pen.setWidth(1);
    pen.setCapStyle(Qt::SquareCap);
    for (const SketchLine& line : sketchLines()) {
        pen.setColor(inkColour(line.ink));
        painter.setPen(pen);
        painter.drawLine(pixelCentre(line.x1, line.y1), pixelCentre(line.x2, line.y2));
    }

    // The circle through the centres of the box's edge pixels, so that its
    // outline fills the box and no more.
    pen.setColor(inkColour(SketchInk::WindowText));
    painter.setPen(pen);
    for (const SketchCircle& circle : sketchCircles()) {
        const QRect box = circle.box.inPixels();
        painter.drawEllipse(QRectF(box).adjusted(0.5, 0.5, -0.5, -0.5));
    }
}

} // namespace kalventa::ui
