#pragma once
// Picture1: the picture area of the rope capacity group. A sunken frame that
// draws the drum sketch and holds the fields and labels placed on it; those
// are positioned from the top-left corner inside the border.

#include "ui/twips.h"

#include <QFrame>

class QPainter;

namespace kalventa::ui {

class DrumSketch final : public QFrame {
    Q_OBJECT

public:
    explicit DrumSketch(QWidget* parent = nullptr);

    // A box given in twips from the corner inside the border, in this
    // widget's own coordinates.
    QRect placeInside(const TwipRect& box) const;

protected:
    void paintEvent(QPaintEvent* event) override;
};

// Paints the drawing of the sketch, its lines and circles, with the painter's
// origin at the corner inside Picture1's border and `scale` painter units to
// one of the window's pixels (15 twips): 1 on the window, where every line
// fills whole pixels; larger on paper, where the same drawing is enlarged.
void paintDrumSketch(QPainter& painter, qreal scale);

} // namespace kalventa::ui
