#pragma once
// Positions and sizes of the window are given in twips, 1440 to the inch; at
// 96 dots per inch 15 twips make one pixel. Plain values without Qt, so that
// the layout and sketch tables also build the browser edition's page.

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
};

} // namespace kalventa::ui
