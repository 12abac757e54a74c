#pragma once
// Lines and rectangles on a raster in whole pixels, in plain copy mode: every pixel drawn takes
// the colour exactly (no blending), so a pixel read back is the colour that was drawn.

#include <cstdint>

#include "runtime/picture/raster.h"

namespace rt {

// A line one pixel wide from (x0, y0) to (x1, y1), both end points included. Along the longer
// axis every pixel column (or row) gets one pixel: the one nearest the exact line, halves
// towards the greater coordinate. The rule depends on the line only, so a line drawn the other
// way round covers the same pixels. Clipped to the raster: the cost is that of the visible part
// however far away the end points lie.
void draw_line(Raster& raster, std::int32_t x0, std::int32_t y0, std::int32_t x1, std::int32_t y1,
               Colour colour);

// Ends far beyond any raster are brought within this reach before they are rounded to pixels.
// A line cut there and rounded deviates from the exact line by under 2^-30 of its length, far
// less than a pixel where it crosses a raster.
inline constexpr double kClipReach = 0x1p30;

// Cuts the segment from (x0, y0) to (x1, y1) to its part within kClipReach of the origin on
// both axes, in double; false when no part of it lies there. Each new end is computed from the
// nearer old one, so that the part crossing the raster keeps the exact line's course.
bool clip_to_reach(double& x0, double& y0, double& x1, double& y1);

// The four edges of the rectangle with these corners (corners included).
void draw_rectangle_outline(Raster& raster, std::int32_t x0, std::int32_t y0, std::int32_t x1,
                            std::int32_t y1, Colour colour);

}  // namespace rt
