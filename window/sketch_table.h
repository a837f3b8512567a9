#pragma once
// The drum sketch as plain values: a side view of the drum body and its two
// flanges in blue, one layer of rope turns as a row of circles, and six red
// dimensions whose values stand in the fields and labels placed on the sketch.
// Coordinates in twips from the top-left corner inside the picture's border.

#include "window/twip_rect.h"

#include <span>
#include <string_view>

namespace kalventa::ui {

enum class SketchInk {
    Outline,    // blue drum outline
    Dimension,  // red dimension, extension and leader lines, arrowheads, shelves
    WindowText, // black: the rope turns and the bottom edge of the left flange
};

// A solid line one pixel wide; an arrowhead's tip is always (x1, y1).
struct SketchLine {
    std::string_view name;
    int x1, y1, x2, y2;
    SketchInk ink;
};

// The outline of the circle inscribed in `box`, in window text, not filled.
struct SketchCircle {
    std::string_view name;
    TwipRect box;
};

std::span<const SketchLine> sketchLines();
std::span<const SketchCircle> sketchCircles();

} // namespace kalventa::ui
