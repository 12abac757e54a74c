#include "app/graph/x_axis.h"

#include <cstdint>

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

XTicks plan_x_ticks(float xmin, float xmax, bool user_range, std::string_view step_text) {
  XTicks ticks;
  const double whole_min = rt::floor_value(xmin);
  ticks.first = rt::to_single(whole_min == xmin ? whole_min : whole_min + 1);
  ticks.last = rt::to_single(rt::floor_value(xmax));
  const double range = static_cast<double>(xmax) - xmin;
  ticks.step = 1;
  if (range >= 50) ticks.step = 10;
  if (range >= 200) ticks.step = 100;
  if (user_range && !step_text.empty()) {
    const float typed = rt::to_single(rt::val(step_text));
    if (typed > 0) ticks.step = typed;
  }
  return ticks;
}

float wide_label_offset(float t) {
  if (t < 10) return 13;
  if (t < 100) return 15;
  if (t < 1000) return 25;
  return 35;  // 2000 and above too, so that every number stands under its own tick
}

double wide_label_value(float t) {
  const auto whole = static_cast<std::int64_t>(t);
  std::int64_t scale = 1;
  while (whole / scale >= 1000000) scale *= 10;
  if (scale == 1) return t;
  const std::int64_t rounded = (whole + scale / 2) / scale * scale;  // to the nearest scale
  return static_cast<double>(rounded);
}

void draw_x_axis() {
  Workspace& w = workspace();
  const rt::ObjRef picture = PICTURE(1);
  const bool user_range = rt::get_check(CHECK(1)) == 1;
  const XTicks ticks =
      plan_x_ticks(w.XMIN, w.XMAX, user_range, user_range ? rt::get_text(EDIT(5)) : "");

  // Written back whatever the box says, so a user range of 295.7 reads 295 after the draw.
  rt::set_text(EDIT(3), rt::trimmed_single_text(ticks.last));
  rt::set_text(EDIT(4), rt::trimmed_single_text(ticks.first));
  rt::set_text(EDIT(5), rt::trimmed_single_text(ticks.step));

  // Marks 10 pixels high rising from the bottom edge, at first + k * step (not at multiples
  // of the step).
  const float bottom = static_cast<float>(w.PLOTTOP + w.PLOTHEIGHT);
  TickSeries marks(picture);
  counted_loop(ticks.first, ticks.last, ticks.step, [&](float t) {
    const float x = px(w, t);
    marks.line(x, bottom - 10, x, bottom);
  });

  const float font_size = 24;
  const float label_row = bottom + 5;
  const float last_label = rt::to_single(rt::floor_value(w.XMAX));
  LabelSeries labels(picture, w.PICWIDTH, w.PICHEIGHT, font_size);
  rt::picture_font_size(picture, font_size);  // stays for the rest of the draw
  if (static_cast<double>(w.XMAX) - w.XMIN >= 1000) {
    // Every hundred from 0, whatever XMIN is: those below XMIN land right of the plot area. At
    // ranges beyond about 55000 several numbers start on one pixel; each is printed over the
    // others, as its ink adds to theirs. From a range of 1e7 on, a hundred and more numbers
    // share each pixel and smear into a solid band, and printing each would take seconds per
    // draw: there only the first number of each pixel is printed (the same key 0 for all).
    const bool every_number = static_cast<double>(w.XMAX) - w.XMIN < kEveryWideNumberBelow;
    // Numbers that start beyond the picture's right edge by more than a label's reach are left
    // out; far below XMIN (a range far from 0) that is nearly every number, so they are passed
    // without working out where each would land. The widest offset (35) and two pixels to
    // spare cover the rounding.
    const double range = static_cast<double>(w.XMAX) - w.XMIN;
    const double reach = w.PICWIDTH + LabelSeries::reach(font_size) + 2 + 35;
    const double unseen_below = w.XMIN + range * (1 - (reach - w.PLOTLEFT) / w.PLOTWIDTH);
    counted_loop(0, last_label, 100, [&](float t) {
      if (t < unseen_below) return;
      labels.print(rt::to_single(px(w, t) - wide_label_offset(t)), label_row,
                   every_number ? wide_label_value(t) : 0, [&] { return rt::single_text(t); });
    });
  } else {
    // Every third unit from the first tick, whatever the tick step is.
    counted_loop(ticks.first, last_label, 3, [&](float t) {
      labels.print(rt::to_single(px(w, t) - 25.0), label_row, t,
                   [&] { return rt::single_text(t); });
    });
  }
}

}  // namespace app
