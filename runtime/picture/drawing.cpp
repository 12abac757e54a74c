#include "runtime/picture/drawing.h"

#include <algorithm>
#include <cmath>

#include "runtime/picture/line_drawing.h"
#include "runtime/picture/text_renderer.h"

namespace rt {
namespace {

// Cuts the segment to the rectangle (Liang-Barsky); false when nothing of it lies inside.
bool clip_segment(PointF& a, PointF& b, const ClipRect& r) {
  double t0 = 0, t1 = 1;
  const double dx = b.x - a.x, dy = b.y - a.y;
  const double p[4] = {-dx, dx, -dy, dy};
  const double q[4] = {a.x - r.left, r.right - a.x, a.y - r.top, r.bottom - a.y};
  for (int i = 0; i < 4; ++i) {
    if (p[i] == 0) {
      if (q[i] < 0) return false;
      continue;
    }
    const double t = q[i] / p[i];
    if (p[i] < 0)
      t0 = std::max(t0, t);
    else
      t1 = std::min(t1, t);
    if (t0 > t1) return false;
  }
  const PointF start = a;
  a = PointF{start.x + t0 * dx, start.y + t0 * dy};
  b = PointF{start.x + t1 * dx, start.y + t1 * dy};
  return true;
}

bool finite(PointF p) { return std::isfinite(p.x) && std::isfinite(p.y); }

// A coordinate of the drawing as the pixel it falls in; far values are held where they
// cannot wrap (a line to them is cut to kClipReach first).
std::int64_t pixel_of(double v) {
  return static_cast<std::int64_t>(std::llround(std::clamp(v, -kClipReach, kClipReach)));
}

// A line `scale` pixels wide: copies of the one-pixel line, side by side across its run.
void thick_line(Raster& raster, PointF a, PointF b, int scale, Colour colour) {
  double x0 = a.x * scale, y0 = a.y * scale, x1 = b.x * scale, y1 = b.y * scale;
  if (!clip_to_reach(x0, y0, x1, y1)) return;
  const auto ix0 = static_cast<std::int32_t>(pixel_of(x0));
  const auto iy0 = static_cast<std::int32_t>(pixel_of(y0));
  const auto ix1 = static_cast<std::int32_t>(pixel_of(x1));
  const auto iy1 = static_cast<std::int32_t>(pixel_of(y1));
  const bool mostly_across = std::abs(x1 - x0) >= std::abs(y1 - y0);
  for (int k = 0; k < scale; ++k) {
    if (mostly_across)
      draw_line(raster, ix0, iy0 + k, ix1, iy1 + k, colour);
    else
      draw_line(raster, ix0 + k, iy0, ix1 + k, iy1, colour);
  }
  // Whole squares at the ends, so that the joints of a polyline have no notches.
  if (scale > 1) {
    raster.fill_rect(ix0, iy0, std::int64_t{ix0} + scale - 1, std::int64_t{iy0} + scale - 1,
                     colour);
    raster.fill_rect(ix1, iy1, std::int64_t{ix1} + scale - 1, std::int64_t{iy1} + scale - 1,
                     colour);
  }
}

void draw_polyline(const DrawStep& step, Raster& raster, int scale) {
  for (std::size_t i = 0; i + 1 < step.points.size(); ++i) {
    PointF a = step.points[i], b = step.points[i + 1];
    if (!finite(a) || !finite(b)) continue;
    if (step.clip && !clip_segment(a, b, *step.clip)) continue;
    thick_line(raster, a, b, scale, step.colour);
  }
}

void draw_points(const DrawStep& step, Raster& raster, int scale) {
  const std::int64_t r = step.marker_radius;
  for (const PointF& p : step.points) {
    if (!finite(p) || (step.clip && !step.clip->contains(p))) continue;
    const std::int64_t cx = pixel_of(p.x), cy = pixel_of(p.y);
    raster.fill_rect((cx - r) * scale, (cy - r) * scale, (cx + r) * scale + scale - 1,
                     (cy + r) * scale + scale - 1, step.colour);
  }
}

void draw_rectangle(const DrawStep& step, Raster& raster, int scale) {
  if (step.points.size() < 2) return;
  const PointF a = step.points[0], b = step.points[1];
  thick_line(raster, a, PointF{b.x, a.y}, scale, step.colour);
  thick_line(raster, PointF{b.x, a.y}, b, scale, step.colour);
  thick_line(raster, b, PointF{a.x, b.y}, scale, step.colour);
  thick_line(raster, PointF{a.x, b.y}, a, scale, step.colour);
}

void draw_text(const DrawStep& step, Raster& raster, int scale) {
  TextRenderer* renderer = text_renderer();
  if (!renderer || step.points.empty() || step.text.empty() || !finite(step.points[0])) return;
  const int height = step.text_height * scale;
  const double width = renderer->text_width(step.text, kDrawingFontFace, height);
  DrawStep scaled = step;
  scaled.points[0] = PointF{step.points[0].x * scale, step.points[0].y * scale};
  renderer->draw_text(raster, static_cast<int>(pixel_of(text_left(scaled, width))),
                      static_cast<int>(pixel_of(scaled.points[0].y)), step.text, kDrawingFontFace,
                      height, step.colour);
}

}  // namespace

int text_width(const std::string& utf8, int pixel_height) {
  if (TextRenderer* renderer = text_renderer())
    return renderer->text_width(utf8, kDrawingFontFace, pixel_height);
  return estimated_text_width(utf8, pixel_height);
}

double text_left(const DrawStep& text, double width) {
  const double x = text.points.empty() ? 0 : text.points[0].x;
  switch (text.anchor) {
    case TextAnchor::kStart:
      return x;
    case TextAnchor::kMiddle:
      return x - width / 2;
    case TextAnchor::kEnd:
      return x - width;
  }
  return x;
}

void render_drawing(const Drawing& drawing, Raster& raster, int scale) {
  for (const DrawStep& step : drawing.steps) {
    switch (step.kind) {
      case DrawStep::Kind::kPolyline:
        draw_polyline(step, raster, scale);
        break;
      case DrawStep::Kind::kPoints:
        draw_points(step, raster, scale);
        break;
      case DrawStep::Kind::kRectangle:
        draw_rectangle(step, raster, scale);
        break;
      case DrawStep::Kind::kText:
        draw_text(step, raster, scale);
        break;
    }
  }
}

Raster rasterize(const Drawing& drawing, int scale, std::source_location where) {
  Raster raster(drawing.width * scale, drawing.height * scale, kWhite, where);
  render_drawing(drawing, raster, scale);
  return raster;
}

}  // namespace rt
