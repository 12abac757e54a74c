#include "app/graph/plot_mapping.h"

#include "app/workspace/control_refs.h"
#include "runtime/convert/arithmetic.h"
#include "runtime/convert/integer_rules.h"
#include "runtime/convert/number_text.h"
#include "runtime/dialogs/control_values.h"

namespace app {

float px(const Workspace& w, double x, std::source_location where) {
  const double fraction = rt::divide(x - w.XMIN, static_cast<double>(w.XMAX) - w.XMIN, where);
  return rt::to_single(w.PLOTLEFT + w.PLOTWIDTH * (1 - fraction), where);
}

float py(const Workspace& w, double y, std::source_location where) {
  const double fraction = rt::divide(y - w.YMIN, w.YMAX - w.YMIN, where);
  return rt::to_single(w.PLOTTOP + w.PLOTHEIGHT * (1 - fraction), where);
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
