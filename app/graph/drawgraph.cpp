#include "app/graph/drawgraph.h"

#include <algorithm>
#include <vector>

#include "app/graph/fit_view_window.h"
#include "app/graph/long_drawing.h"
#include "app/graph/numarrange.h"
#include "app/graph/plot_mapping.h"
#include "app/graph/range_selection.h"
#include "app/graph/x_axis.h"
#include "app/graph/y_axis.h"
#include "app/model/calc_fitline.h"
#include "app/model/components_window.h"
#include "app/workspace/components.h"
#include "app/workspace/control_refs.h"
#include "app/workspace/counted_loop.h"
#include "app/workspace/peak_colours.h"
#include "app/workspace/peak_curves.h"
#include "app/workspace/peak_table.h"
#include "app/workspace/spectrum_points.h"
#include "app/workspace/workspace.h"
#include "runtime/picture/picture_ops.h"

namespace app {
namespace {

constexpr unsigned kSumColour = 0x0000FF;  // red
constexpr int kWhite = 15;                 // palette numbers
constexpr int kBlack = 0;

// Joins the points 0 to LASTPOINT in index order, whatever their x order, in the drawing
// colour. The first segment is drawn also for a spectrum of one point or none. Each point is
// mapped once, in order; the curve is then drawn as one statement. A point that cannot be
// mapped raises its error after the segments before it are drawn, as segment by segment.
// The x pixels are the same for every curve: the first curve maps them into `x_pixels`, and
// the curves after it take them from there.
template <class YOf>
void draw_curve(const Workspace& w, rt::ObjRef picture, std::vector<float>& x_pixels, YOf&& y_of) {
  const bool mapped = !x_pixels.empty();
  std::vector<rt::PointF> points;
  points.reserve(static_cast<std::size_t>(std::max<std::int32_t>(w.LASTPOINT, 1)) + 1);
  const auto x_of = [&](std::int32_t i) {
    if (mapped) return x_pixels[points.size()];
    const float x = px(w, w.XDATA.at(i));
    x_pixels.push_back(x);
    return x;
  };
  try {
    counted_loop(0, w.LASTPOINT - 1, 1, [&](float counter) {
      const std::int32_t i = loop_index(counter);
      if (points.empty()) points.push_back(rt::PointF{x_of(i), py(w, y_of(i))});
      const float x = x_of(i + 1);
      points.push_back(rt::PointF{x, py(w, y_of(i + 1))});
    });
  } catch (...) {
    if (points.size() > 1) rt::picture_polyline(picture, points);
    throw;
  }
  rt::picture_polyline(picture, points);
}

void box(rt::ObjRef picture, double x1, double y1, double x2, double y2, int palette,
         rt::LineMode mode) {
  rt::LineCommand command;
  command.first = rt::PointF{x1, y1};
  command.second = rt::PointF{x2, y2};
  command.colour_index = palette;
  command.mode = mode;
  rt::picture_line(picture, command);
}

}  // namespace

void DRAWGRAPH() {
  Workspace& w = workspace();
  const rt::ObjRef picture = PICTURE(1);
  rt::picture_clear(picture);
  rt::picture_set_colour(picture, 0x000000);

  select_range();

  if (const LongSpectrum* long_points = long_spectrum()) {
    draw_long_curves(w, picture, *long_points);
  } else {
    std::vector<float> x_pixels;
    draw_curve(w, picture, x_pixels, [&](std::int32_t i) { return w.YDATA.at(i); });

    CALC_FITLINE();
    const int last = std::max(kSlots, component_count());
    int present = 0;
    for (int k = 1; k <= last; ++k)
      if (Present(k)) ++present;
    if (present > 0) {
      rt::picture_set_colour(picture, kSumColour);
      draw_curve(w, picture, x_pixels, [&](std::int32_t i) { return w.SUMCURVE.at(i); });
    }
    // Each peak over the sum, a higher slot over a lower one; the colours are exact, so the
    // mouse's hit test finds a peak by the colour it reads back.
    for (int k = 1; k <= last; ++k) {
      if (!Present(k)) continue;
      rt::picture_set_colour(picture, component_colour(k));
      const float* values = peak_curve_values(w, k, std::max<std::int32_t>(w.LASTPOINT, 1));
      draw_curve(w, picture, x_pixels,
                 [&](std::int32_t i) { return values ? values[i] : peak_curve(w, k, i); });
    }
  }

  // The curves are clipped to the plot area by painting the margins white over them.
  const double left = w.PLOTLEFT, top = w.PLOTTOP;
  const double right = left + w.PLOTWIDTH, bottom = top + w.PLOTHEIGHT;
  box(picture, 0, 0, right, top, kWhite, rt::LineMode::kFilledRectangle);
  box(picture, 0, 0, left, bottom, kWhite, rt::LineMode::kFilledRectangle);
  box(picture, 0, bottom, w.PICWIDTH, w.PICHEIGHT, kWhite, rt::LineMode::kFilledRectangle);
  box(picture, right, 0, w.PICWIDTH, w.PICHEIGHT, kWhite, rt::LineMode::kFilledRectangle);
  box(picture, left, top, right, bottom, kBlack, rt::LineMode::kRectangle);

  rt::picture_set_colour(picture, 0x000000);
  draw_x_axis();
  draw_y_axis();
  NUMARRANGE();
  update_fit_view_window();
  update_components_window();
}

}  // namespace app
