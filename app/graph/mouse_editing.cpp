#include "app/graph/mouse_editing.h"

#include "app/graph/plot_mapping.h"
#include "app/workspace/control_refs.h"
#include "app/workspace/counted_loop.h"
#include "app/workspace/peak_colours.h"
#include "app/workspace/peak_table.h"
#include "app/workspace/workspace.h"
#include "runtime/convert/integer_rules.h"
#include "runtime/convert/number_text.h"
#include "runtime/convert/string_functions.h"
#include "runtime/forms/control_values.h"
#include "runtime/picture/picture_ops.h"

namespace app {
namespace {

void marker_line(float x, double y1, double y2) {
  rt::LineCommand line;
  line.first = rt::PointF{x, y1};
  line.second = rt::PointF{x, y2};
  line.colour_index = 0;  // black
  rt::picture_line(PICTURE(1), line);
}

// A pointer movement in axis units, truncated downward to two decimals.
double shift(double units_per_plot, double pixels, double plot_pixels) {
  return rt::floor_value(100 * units_per_plot * pixels / plot_pixels) / 100;
}

void move_centre(Workspace& w, int k, float mx, float my) {
  // The x axis runs right to left: dragging right lowers the centre and the peak follows.
  const double centre = Parameter(k, Param::Centre) -
                        shift(static_cast<double>(w.XMAX) - w.XMIN, mx - w.DOWNX, w.PLOTWIDTH);
  const double height =
      Parameter(k, Param::Height) - shift(w.YMAX - w.YMIN, my - w.DOWNY, w.PLOTHEIGHT);
  // The drag replaces whatever value a fit kept: the fields hold what the hand put there.
  forget_kept_value(k, Param::Centre);
  forget_kept_value(k, Param::Height);
  rt::set_text(field_of(k, Param::Centre), rt::trimmed_double_text(centre));
  rt::set_text(field_of(k, Param::Height), rt::trimmed_double_text(height));
}

void change_width(Workspace& w, int k, float mx) {
  // The full plot width is 5 units of width whatever the x range; vertical movement is ignored.
  const double width = Parameter(k, Param::Width) + shift(5, mx - w.DOWNX, w.PLOTWIDTH);
  forget_kept_value(k, Param::Width);
  rt::set_text(field_of(k, Param::Width), rt::trimmed_double_text(width));
  if (Parameter(k, Param::Width) < static_cast<double>(0.3f))
    rt::set_text(field_of(k, Param::Width), "0.3");
}

}  // namespace

void hit_test(Workspace& w, float mx, float my) {
  counted_loop(my - 5, my + 5, 1, [&](float y) {
    counted_loop(mx - 5, mx + 5, 1, [&](float x) {
      const std::string text = rt::six_hex_text(rt::picture_pixel(PICTURE(1), x, y));
      for (int k = 1; k <= kSlots; ++k) {
        if (text != peak_colour_text(k)) continue;
        w.MOUSEMODE = 2.0f * static_cast<float>(k);
        const float cx = px(w, Parameter(k, Param::Centre));
        if (cx - 5 < mx && mx < cx + 5) w.MOUSEMODE = 2.0f * static_cast<float>(k) + 1;
      }
    });
  });
}

void record_press(Workspace& w, float mx, float my) {
  w.DOWNX = mx;
  w.DOWNY = my;
  w.MOUSEMODE = kMarkerDrag;
  hit_test(w, mx, my);
}

void follow_marker_drag(Workspace& w, float mx, float my) {
  if (w.MOUSEMODE != kMarkerDrag) return;
  show_position(w, mx, my);
  // Not erased as the pointer moves on: the swept area stays black until the next redraw.
  marker_line(mx, w.PLOTTOP, w.PLOTTOP + w.PLOTHEIGHT);
}

void draw_release_marker(float mx) {
  // From the plot area's top edge down past the picture's bottom, across the x numbers.
  marker_line(mx, 50, 749);
}

bool apply_peak_drag(Workspace& w, float mx, float my) {
  const double half = rt::floor_value(w.MOUSEMODE / 2.0);
  if (half < 1 || half > kSlots) return false;
  const int k = static_cast<int>(half);
  if (w.MOUSEMODE != 2 * half)
    move_centre(w, k, mx, my);
  else
    change_width(w, k, mx);
  return true;
}

}  // namespace app
