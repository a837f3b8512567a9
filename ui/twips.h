#pragma once
// Positions and sizes of the window are given in twips, 1440 to the inch. At
// 96 dots per inch 15 twips make one pixel; Qt's device-independent pixels are
// those pixels, and Qt scales them on a screen with a larger device pixel ratio.

#include <QPoint>
#include <QRect>
#include <QSize>

namespace kalventa::ui {

inline constexpr int twipsPerPixel = 15;

constexpr int pixels(int twips)
{
    return twips / twipsPerPixel;
}

// A box in twips: left and top from the container's top-left corner.
struct TwipRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;

    constexpr bool wholePixels() const
    {
        return left % twipsPerPixel == 0 && top % twipsPerPixel == 0 && width % twipsPerPixel == 0
            && height % twipsPerPixel == 0;
    }
    QRect inPixels() const { return {pixels(left), pixels(top), pixels(width), pixels(height)}; }
};

} // namespace kalventa::ui
