#pragma once
// A picture described as drawing steps (polylines, point markers, rectangles, text) in its own
// pixel coordinates. The same steps are drawn into a raster at any whole scale and written as
// vector graphics, so a figure and the picture on screen never disagree.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "runtime/picture/colour.h"
#include "runtime/picture/picture.h"
#include "runtime/picture/raster.h"

namespace rt {

// Everything of a step outside this rectangle (edges included) is left out.
struct ClipRect {
  double left = 0, top = 0, right = 0, bottom = 0;
  bool contains(PointF p) const {
    return p.x >= left && p.x <= right && p.y >= top && p.y <= bottom;
  }
};

enum class TextAnchor { kStart, kMiddle, kEnd };

struct DrawStep {
  enum class Kind { kPolyline, kPoints, kRectangle, kText };
  Kind kind = Kind::kPolyline;
  Colour colour = kBlack;
  // Polyline: its vertices; points: the markers' centres; rectangle: two corners; text: the
  // anchor (x by `anchor`, y the top of the text).
  std::vector<PointF> points;
  std::optional<ClipRect> clip;
  int marker_radius = 1;  // points: a square of 2r + 1 pixels
  std::string text;       // UTF-8
  int text_height = 14;   // pixels
  TextAnchor anchor = TextAnchor::kStart;
};

struct Drawing {
  std::int32_t width = 0, height = 0;
  std::vector<DrawStep> steps;
};

// The face the steps' text is drawn in (the installed renderer maps it to a font).
inline constexpr const char* kDrawingFontFace = kDefaultFontFace;

// The width in pixels of `utf8` at `pixel_height`, as the installed renderer lays it out (an
// estimate of 0.6 of the height per character when none is installed).
int text_width(const std::string& utf8, int pixel_height);

// The left edge of a text of that width placed at its anchor.
double text_left(const DrawStep& text, double width);

// Draws the steps into `raster`, which is the drawing's size times `scale` (1 or more): every
// coordinate is multiplied by `scale`, and lines, markers and text grow with it, so that a
// scaled raster is the same picture with finer detail. Colours are exact (no blending).
void render_drawing(const Drawing& drawing, Raster& raster, int scale);

// A white raster of the drawing's size times `scale`, with the steps drawn.
Raster rasterize(const Drawing& drawing, int scale,
                 std::source_location where = std::source_location::current());

}  // namespace rt
