#include "window/sketch_table.h"

#include <algorithm>
#include <array>

namespace kalventa::ui {
namespace {

using enum SketchInk;

// Kept as written: one line or circle a line, as the sketch reads.
// clang-format off
constexpr std::array lines{
    SketchLine{"Line1", 1560, 1080, 3120, 1080, Outline}, // drum body, top edge (outer surface of the shell)
    SketchLine{"Line2", 1560, 840, 1560, 2160, Outline}, // left flange, inner face
    SketchLine{"Line3", 1560, 1920, 3120, 1920, Outline}, // drum body, bottom edge
    SketchLine{"Line4", 3120, 2160, 3120, 840, Outline}, // right flange, inner face
    SketchLine{"Line5", 3240, 840, 3240, 2160, Outline}, // right flange, outer face
    SketchLine{"Line6", 3120, 840, 3240, 840, Outline}, // right flange, top edge
    SketchLine{"Line7", 3120, 2160, 3240, 2160, Outline}, // right flange, bottom edge
    SketchLine{"Line8", 1560, 840, 1440, 840, Outline}, // left flange, top edge
    SketchLine{"Line9", 1440, 840, 1440, 2160, Outline}, // left flange, outer face
    SketchLine{"Line10", 1440, 2160, 1560, 2160, WindowText}, // left flange, bottom edge
    SketchLine{"Line11", 1920, 1200, 2520, 1200, Outline}, // drum shell, inner surface
    SketchLine{"Line12", 1560, 2160, 1560, 2640, Dimension}, // drum length, left extension line
    SketchLine{"Line13", 3120, 2160, 3120, 2640, Dimension}, // drum length, right extension line
    SketchLine{"Line14", 1560, 1080, 960, 1080, Dimension}, // drum diameter, upper extension line
    SketchLine{"Line15", 1560, 1920, 960, 1920, Dimension}, // drum diameter, lower extension line
    SketchLine{"Line16", 1080, 1080, 1080, 1920, Dimension}, // drum diameter, dimension line
    SketchLine{"Line17", 3240, 840, 3720, 840, Dimension}, // flange diameter, upper extension line
    SketchLine{"Line18", 3240, 2160, 3720, 2160, Dimension}, // flange diameter, lower extension line
    SketchLine{"Line19", 3600, 840, 3600, 2160, Dimension}, // flange diameter, dimension line
    SketchLine{"Line20", 1560, 2520, 3120, 2520, Dimension}, // drum length, dimension line
    SketchLine{"Line21", 3600, 840, 3480, 960, Dimension}, // flange diameter, upper arrowhead (points up)
    SketchLine{"Line22", 3600, 840, 3720, 960, Dimension}, // flange diameter, upper arrowhead (points up)
    SketchLine{"Line23", 3600, 2160, 3480, 2040, Dimension}, // flange diameter, lower arrowhead (points down)
    SketchLine{"Line24", 3600, 2160, 3720, 2040, Dimension}, // flange diameter, lower arrowhead (points down)
    SketchLine{"Line25", 1560, 2520, 1680, 2400, Dimension}, // drum length, left arrowhead (points left)
    SketchLine{"Line26", 1560, 2520, 1680, 2640, Dimension}, // drum length, left arrowhead (points left)
    SketchLine{"Line27", 3120, 2520, 3000, 2400, Dimension}, // drum length, right arrowhead (points right)
    SketchLine{"Line28", 3120, 2520, 3000, 2640, Dimension}, // drum length, right arrowhead (points right)
    SketchLine{"Line29", 1080, 1080, 960, 1200, Dimension}, // drum diameter, upper arrowhead (points up)
    SketchLine{"Line30", 1080, 1080, 1200, 1200, Dimension}, // drum diameter, upper arrowhead (points up)
    SketchLine{"Line31", 1080, 1920, 960, 1800, Dimension}, // drum diameter, lower arrowhead (points down)
    SketchLine{"Line32", 1080, 1920, 1200, 1800, Dimension}, // drum diameter, lower arrowhead (points down)
    SketchLine{"Line33", 2160, 1440, 2160, 840, Dimension}, // wall thickness, dimension line
    SketchLine{"Line34", 2160, 840, 2520, 840, Dimension}, // wall thickness, shelf under Label23
    SketchLine{"Line35", 2160, 1080, 2040, 960, Dimension}, // wall thickness, upper arrowhead (points down)
    SketchLine{"Line36", 2160, 1080, 2280, 960, Dimension}, // wall thickness, upper arrowhead (points down)
    SketchLine{"Line37", 2160, 1200, 2040, 1320, Dimension}, // wall thickness, lower arrowhead (points up)
    SketchLine{"Line38", 2160, 1200, 2280, 1320, Dimension}, // wall thickness, lower arrowhead (points up)
    SketchLine{"Line39", 3600, 1560, 3840, 1320, Dimension}, // flange diameter, leader
    SketchLine{"Line40", 3840, 1320, 4560, 1320, Dimension}, // flange diameter, shelf under Label21
    SketchLine{"Line41", 1080, 1560, 840, 1440, Dimension}, // drum diameter, leader
    SketchLine{"Line42", 840, 1440, 120, 1440, Dimension}, // drum diameter, shelf under Text4
    SketchLine{"Line43", 3000, 1080, 3000, 480, Dimension}, // leftover length, left extension line (at the last turn)
    SketchLine{"Line44", 3120, 840, 3120, 480, Dimension}, // leftover length, right extension line (at the right flange)
    SketchLine{"Line45", 2880, 600, 3600, 600, Dimension}, // leftover length, dimension line
    SketchLine{"Line46", 3000, 600, 2880, 480, Dimension}, // leftover length, left arrowhead (points right)
    SketchLine{"Line47", 3000, 600, 2880, 720, Dimension}, // leftover length, left arrowhead (points right)
    SketchLine{"Line48", 3120, 600, 3240, 480, Dimension}, // leftover length, right arrowhead (points left)
    SketchLine{"Line49", 3120, 600, 3240, 720, Dimension}, // leftover length, right arrowhead (points left)
    SketchLine{"Line50", 1560, 840, 1920, 840, Dimension}, // flange margin Y, upper extension line (flange rim)
    SketchLine{"Line51", 1800, 1320, 1800, 600, Dimension}, // flange margin Y, dimension line
    SketchLine{"Line52", 1560, 960, 1920, 960, Dimension}, // flange margin Y, lower extension line (top of the turns)
    SketchLine{"Line53", 1800, 840, 1680, 720, Dimension}, // flange margin Y, upper arrowhead (points down)
    SketchLine{"Line54", 1800, 840, 1920, 720, Dimension}, // flange margin Y, upper arrowhead (points down)
    SketchLine{"Line55", 1800, 960, 1680, 1080, Dimension}, // flange margin Y, lower arrowhead (points up)
    SketchLine{"Line56", 1800, 960, 1920, 1080, Dimension}, // flange margin Y, lower arrowhead (points up)
};

// Twelve rope turns side by side on the top of the drum body, from the inner
// face of the left flange; neighbours overlap by one pixel.
constexpr std::array circles{
    SketchCircle{"Shape1", {1560, 960, 135, 135}},
    SketchCircle{"Shape2", {1680, 960, 135, 135}},
    SketchCircle{"Shape3", {1800, 960, 135, 135}},
    SketchCircle{"Shape4", {1920, 960, 135, 135}},
    SketchCircle{"Shape5", {2040, 960, 135, 135}},
    SketchCircle{"Shape6", {2160, 960, 135, 135}},
    SketchCircle{"Shape7", {2280, 960, 135, 135}},
    SketchCircle{"Shape8", {2400, 960, 135, 135}},
    SketchCircle{"Shape9", {2520, 960, 135, 135}},
    SketchCircle{"Shape10", {2640, 960, 135, 135}},
    SketchCircle{"Shape11", {2760, 960, 135, 135}},
    SketchCircle{"Shape12", {2880, 960, 135, 135}},
};
// clang-format on

constexpr bool onWholePixels(const SketchLine& line)
{
    return line.x1 % twipsPerPixel == 0 && line.y1 % twipsPerPixel == 0 && line.x2 % twipsPerPixel == 0
        && line.y2 % twipsPerPixel == 0;
}
static_assert(std::all_of(lines.begin(), lines.end(), onWholePixels),
              "every end point must fall on a pixel at 96 dots per inch");
static_assert(std::all_of(circles.begin(), circles.end(),
                          [](const SketchCircle& circle) { return circle.box.wholePixels(); }),
              "every circle's box must be a whole number of pixels at 96 dots per inch");

} // namespace

std::span<const SketchLine> sketchLines()
{
    return lines;
}
std::span<const SketchCircle> sketchCircles()
{
    return circles;
}

} // namespace kalventa::ui
