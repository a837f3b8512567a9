#include "ui/drum_sketch.h"

#include "ui/look.h"
#include "window/sketch_table.h"

#include <QPainter>
#include <QPen>

#include <algorithm>
#include <cmath>
#include <cstdlib>

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

QRectF scaled(const QRect& box, qreal scale)
{
    return {box.x() * scale, box.y() * scale, box.width() * scale, box.height() * scale};
}

// Fills the pixels of a line one pixel wide, both end points included: one
// pixel in each column or row along its longer extent. Filling whole pixels
// rather than stroking keeps every pixel where it is at 96 dots per inch and
// turns it into a sharp block at any larger device pixel ratio; a stroked pen
// lands half a pixel off on one grid or the other. Larger than the window
// (`scale` painter units to its pixel), a line along x or y is the same
// rectangle enlarged, and a slanted one is stroked, one window pixel wide,
// rather than enlarged into a staircase of blocks.
void fillLine(QPainter& painter, const SketchLine& line, const QColor& colour, qreal scale)
{
    const int x1 = pixels(line.x1), y1 = pixels(line.y1), x2 = pixels(line.x2), y2 = pixels(line.y2);
    // Most lines run along x or y: one rectangle each.
    if (x1 == x2 || y1 == y2) {
        const QRect block(QPoint(std::min(x1, x2), std::min(y1, y2)), QPoint(std::max(x1, x2), std::max(y1, y2)));
        if (scale == 1.0)
            painter.fillRect(block, colour);
        else
            painter.fillRect(scaled(block, scale), colour);
        return;
    }
    if (scale != 1.0) {
        // Through the centres of the end pixels, as the blocks would run.
        QPen pen(colour, scale, Qt::SolidLine, Qt::SquareCap);
        painter.setPen(pen);
        painter.drawLine(QPointF(x1 + 0.5, y1 + 0.5) * scale, QPointF(x2 + 0.5, y2 + 0.5) * scale);
        return;
    }
    const int steps = std::max(std::abs(x2 - x1), std::abs(y2 - y1));
    for (int step = 0; step <= steps; ++step) {
        const double along = steps == 0 ? 0.0 : double(step) / steps;
        const int x = x1 + int(std::lround((x2 - x1) * along));
        const int y = y1 + int(std::lround((y2 - y1) * along));
        painter.fillRect(QRect(x, y, 1, 1), colour);
    }
}

// The classic sunken border of a picture box, two pixels wide: dark then
// black along the top and left, white then light grey along the bottom and
// right. Painted as rectangles rather than lines, so that at a device pixel
// ratio of 2 it stays on its pixels instead of spilling into the drawing.
void paintSunkenBorder(QPainter& painter, const QRect& outer, const QPalette& palette)
{
    const QRect inner = outer.adjusted(1, 1, -1, -1);
    const auto edges = [&painter](const QRect& box, const QColor& topLeft, const QColor& bottomRight) {
        painter.fillRect(QRect(box.left(), box.top(), box.width() - 1, 1), topLeft);
        painter.fillRect(QRect(box.left(), box.top(), 1, box.height() - 1), topLeft);
        painter.fillRect(QRect(box.left(), box.bottom(), box.width(), 1), bottomRight);
        painter.fillRect(QRect(box.right(), box.top(), 1, box.height()), bottomRight);
    };
    edges(outer, palette.color(QPalette::Dark), palette.color(QPalette::Light));
    edges(inner, palette.color(QPalette::Shadow), palette.color(QPalette::Midlight));
}

} // namespace

DrumSketch::DrumSketch(QWidget* parent)
    : QFrame(parent)
{
    // A two-pixel frame, which the children and the drawing lie inside.
    setFrameStyle(QFrame::WinPanel | QFrame::Sunken);
    setAutoFillBackground(true);
    // It is a Tab stop, but shows no focus mark.
    setFocusPolicy(Qt::StrongFocus);
}

QRect DrumSketch::placeInside(const TwipRect& box) const
{
    return inPixels(box).translated(contentsRect().topLeft());
}

void DrumSketch::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    paintSunkenBorder(painter, rect(), palette());

    painter.setClipRect(contentsRect());
    painter.translate(contentsRect().topLeft());
    paintDrumSketch(painter, 1.0);
}

void paintDrumSketch(QPainter& painter, qreal scale)
{
    painter.save();
    for (const SketchLine& line : sketchLines())
        fillLine(painter, line, inkColour(line.ink), scale);

    // On the window aliased, so that the circles keep their exact colour; the
    // circle runs through the centres of the box's edge pixels, so that its
    // outline fills the box and no more. Larger, smooth.
    painter.setRenderHint(QPainter::Antialiasing, scale != 1.0);
    painter.setBrush(Qt::NoBrush);
    QPen pen(inkColour(SketchInk::WindowText));
    pen.setWidthF(scale);
    painter.setPen(pen);
    for (const SketchCircle& circle : sketchCircles()) {
        const QRectF box = scaled(inPixels(circle.box), scale);
        painter.drawEllipse(box.adjusted(scale / 2, scale / 2, -scale / 2, -scale / 2));
    }
    painter.restore();
}

} // namespace kalventa::ui
