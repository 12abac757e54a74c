#include "app/graph/y_axis.h"

#include <cmath>

#include "app/graph/axis_marks.h"
#include "app/graph/plot_mapping.h"
#include "app/workspace/control_refs.h"
#include "app/workspace/counted_loop.h"
#include "app/workspace/workspace.h"
#include "runtime/convert/arithmetic.h"
#include "runtime/convert/integer_rules.h"
#include "runtime/convert/number_text.h"
#include "runtime/convert/text_to_number.h"
#include "runtime/forms/control_values.h"
#include "runtime/picture/picture_ops.h"

namespace app {
namespace {

// The floor of the decimal logarithm of the range. Taken with log10 itself: ln(1000) / ln(10)
// comes out just below 3, which would give a typed range of exactly 1000 the exponent 2 and
// fifty crowded numbers. The natural logarithm still decides the errors of an empty (11) or
// reversed (5) range.
float range_exponent(float ymin, double ymax) {
  const double range = ymax - ymin;
  rt::natural_log(range);
  return rt::to_single(rt::floor_value(std::log10(range)));
}

}  // namespace

YTicks plan_y_ticks(float ymin, double ymax, bool user_range, std::string_view step_text) {
  YTicks ticks;
  ticks.exponent = range_exponent(ymin, ymax);
  ticks.unit = rt::to_single(rt::power(10, ticks.exponent - 1.0));
  ticks.highest = rt::to_single(rt::floor_value(rt::divide(ymax, ticks.unit)) * ticks.unit);
  // The lowest tick stays inside the range: YMIN itself when it is a multiple of the unit.
  const double below = rt::floor_value(rt::divide(ymin, ticks.unit));
  ticks.lowest = below * ticks.unit == ymin ? ymin : rt::to_single((below + 1) * ticks.unit);
  ticks.step = ticks.unit;
  if (user_range && !step_text.empty()) {
    const float typed = rt::to_single(rt::val(step_text));
    if (typed > 0) ticks.step = typed;
  }
  return ticks;
}

double y_label_value(float v, float unit) { return rt::floor_value(rt::divide(v, unit)) / 10; }

std::string y_label_text(double label_value) {
  std::string text = rt::trimmed_double_text(label_value);
  if (text.front() == '.') text = "0" + text;
  if (text.find('.') == std::string::npos) text += ".0";
  return text;
}

std::string exponent_label(float exponent) { return "[x10^" + rt::single_text(exponent) + "]"; }

void draw_y_axis() {
  Workspace& w = workspace();
  const rt::ObjRef picture = PICTURE(1);
  const bool user_range = rt::get_check(CHECK(2)) == 1;
  const YTicks ticks =
      plan_y_ticks(w.YMIN, w.YMAX, user_range, user_range ? rt::get_text(EDIT(8)) : "");

  TickSeries marks(picture);
  counted_loop(ticks.lowest, ticks.highest, ticks.step, [&](float v) {
    const float y = py(w, v);
    marks.line(w.PLOTLEFT, y, w.PLOTLEFT + 10, y);
  });

  rt::picture_text_position(picture, rt::PointF{w.PLOTLEFT - 70.0, w.PLOTTOP - 50.0});
  rt::picture_print_line(picture, exponent_label(range_exponent(w.YMIN, w.YMAX)));

  LabelSeries labels(picture, w.PICWIDTH, w.PICHEIGHT, 24);
  counted_loop(ticks.lowest, ticks.highest, rt::to_single(2.0 * ticks.step), [&](float v) {
    const double value = y_label_value(v, ticks.unit);
    labels.print(50, rt::to_single(py(w, v) - 10.0), value, [&] { return y_label_text(value); });
  });

  if (rt::get_check(CHECK(2)) == 0) {
    rt::set_text(EDIT(6), rt::trimmed_single_text(w.YMIN));
    rt::set_text(EDIT(7), rt::trimmed_double_text(w.YMAX));
    rt::set_text(EDIT(8), rt::trimmed_single_text(ticks.step));
  }
}

}  // namespace app
