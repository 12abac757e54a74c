#include "app/graph/plot_mapping.h"

#include <cmath>

#include "app/workspace/control_refs.h"
#include "runtime/convert/arithmetic.h"
#include "runtime/convert/integer_rules.h"
#include "runtime/convert/number_text.h"
#include "runtime/forms/control_values.h"

namespace app {

namespace {

// offset + size * (1 - (v - low) / range) as a single. The checked operations decide the
// errors; a tick series calls this millions of times for a tiny step, so the usual case (a
// range that is not empty, a result well inside the single range) takes the plain path with the
// same arithmetic.
float map_to_pixel(double offset, double size, double v, double low, double range,
                   std::source_location where) {
  if (range != 0) {
    const double pixel = offset + size * (1 - (v - low) / range);
    if (std::fabs(pixel) < 1e38) return static_cast<float>(pixel);
  }
  return rt::to_single(offset + size * (1 - rt::divide(v - low, range, where)), where);
}

}  // namespace

float px(const Workspace& w, double x, std::source_location where) {
  return map_to_pixel(w.PLOTLEFT, w.PLOTWIDTH, x, w.XMIN, static_cast<double>(w.XMAX) - w.XMIN,
                      where);
}

float py(const Workspace& w, double y, std::source_location where) {
  return map_to_pixel(w.PLOTTOP, w.PLOTHEIGHT, y, w.YMIN, w.YMAX - w.YMIN, where);
}

double pointer_x(const Workspace& w, double mx) {
  return w.XMAX - (static_cast<double>(w.XMAX) - w.XMIN) * (mx - w.PLOTLEFT) / w.PLOTWIDTH;
}

double pointer_y(const Workspace& w, double my) {
  return w.YMAX - (w.YMAX - w.YMIN) * (my - w.PLOTTOP) / w.PLOTHEIGHT;
}

std::string position_text(double value) {
  return rt::trimmed_double_text(rt::floor_value(rt::checked(value * 100)) / 100);
}

void show_position(const Workspace& w, double mx, double my) {
  rt::set_text(EDIT(9), position_text(pointer_x(w, mx)));
  rt::set_text(EDIT(10), position_text(pointer_y(w, my)));
}

}  // namespace app
