#pragma once
// A box in twips as Qt's pixels. Qt's device-independent pixels are the
// pixels of 96 dots per inch; Qt scales them on a screen with a larger device
// pixel ratio.

#include "window/twip_rect.h"

#include <QRect>

namespace kalventa::ui {

inline QRect inPixels(const TwipRect& box)
{
    return {pixels(box.left), pixels(box.top), pixels(box.width), pixels(box.height)};
}

} // namespace kalventa::ui
