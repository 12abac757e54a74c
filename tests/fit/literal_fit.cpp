#include "tests/fit/literal_fit.h"

#include <array>
#include <string>

#include "app/fit/calc_ratio.h"
#include "app/fit/kai2.h"
#include "app/graph/drawgraph.h"
#include "app/model/peak_profile.h"
#include "app/workspace/control_refs.h"
#include "app/workspace/counted_loop.h"
#include "app/workspace/peak_curves.h"
#include "app/workspace/peak_table.h"
#include "app/workspace/workspace.h"
#include "runtime/convert/arithmetic.h"
#include "runtime/convert/number_text.h"
#include "runtime/convert/text_to_number.h"
#include "runtime/errors/runtime_error.h"
#include "runtime/forms/control_values.h"
#include "runtime/forms/events.h"
#include "runtime/forms/statement_pump.h"

namespace literal {
namespace {

using app::Param;

void calc_fitline_body() {
  app::Workspace& w = app::workspace();
  const auto constants = app::ProfileConstants::for_mix(w.MIXRATIO);
  app::counted_loop(0, w.LASTPOINT, 1, [&](float counter) {
    const std::int32_t i = app::loop_index(counter);
    double sum = 0;
    for (int k = 1; k <= 6; ++k) {
      float value = 0;
      if (app::Present(k)) {
        const app::PeakShape shape = app::read_peak_shape(k);
        value = app::peak_value(w.XDATA.at(i), shape, app::width_squared(shape), constants);
      }
      app::peak_curve(w, k, i) = value;
      sum = k == 1 ? static_cast<double>(value) : sum + value;
    }
    w.SUMCURVE.at(i) = rt::to_single(sum);
  });
}

float skip_value() { return rt::to_single(rt::val(rt::get_text(app::EDIT(43)))); }

void write(int k, Param p, float t) {
  rt::set_text(app::field_of(k, p), rt::trimmed_single_text(t));
}

// The scan loop: first trial recorded with its own figure, then every trial compared.
float scan(int k, Param p, float start, float limit, float step) {
  for (float t = start; t <= limit;) {  // a grid that never passes its limit is refused first
    if (t + step == t) rt::raise_error(rt::kOverflow);
    t += step;
  }
  bool flag = false;
  float best = 0, best_figure = 0;
  app::counted_loop(start, limit, step, [&](float t) {
    write(k, p, (p == Param::Width && t < 0.2f) ? 0.2f : t);
    if (!flag) {
      best = t;
      best_figure = kai2();
      flag = true;
    }
    const float f = kai2();
    if (best_figure >= f) {
      best = t;
      best_figure = f;
    }
    rt::pump();  // the windows repaint, and what the user typed is read by the next figure
    if (!app::skip_usable(skip_value())) rt::raise_error(rt::kInvalidArgument);  // a Skip typed now
  });
  return best;
}

}  // namespace

void calc_fitline() { calc_fitline_body(); }

float kai2() {
  const float skip = skip_value();
  float sum = 0;
  calc_fitline_body();
  const app::Workspace& w = app::workspace();
  app::counted_loop(0, w.LASTPOINT, skip, [&](float counter) {
    const std::int32_t i = app::loop_index(counter);
    const double d = static_cast<double>(w.YDATA.at(i)) - w.SUMCURVE.at(i);
    sum = rt::to_single(sum + d * d);
  });
  return sum;
}

void sweep() {
  const rt::StatementPumpHold hold;  // pumps between trials only, as the shipped sweep does
  for (int k = 1; k <= 6; ++k) {
    if (!app::Present(k)) continue;
    if (rt::get_check(app::lock_of(k, Param::Height)) == 0) {
      for (float s : {1000.0f, 100.0f, 10.0f, 1.0f}) {
        const float u = rt::to_single(app::Parameter(k, Param::Height));
        float b = scan(k, Param::Height, rt::to_single(u - 5.0 * s), rt::to_single(u + 5.0 * s), s);
        if (b < 0) b = 0;
        write(k, Param::Height, b);
      }
    }
    if (rt::get_check(app::lock_of(k, Param::Centre)) == 0) {
      const float u = rt::to_single(app::Parameter(k, Param::Centre));
      write(k, Param::Centre,
            scan(k, Param::Centre, rt::to_single(u - 0.5), rt::to_single(u + 0.5), 0.01f));
    }
    if (rt::get_check(app::lock_of(k, Param::Width)) == 0) {
      const float u = rt::to_single(app::Parameter(k, Param::Width));
      float b = scan(k, Param::Width, rt::to_single(u - 0.5), rt::to_single(u + 0.5), 0.05f);
      if (b < 1.2f) b = 1.2f;
      write(k, Param::Width, b);
    }
  }
}

void fitting_press() {
  if (!app::skip_usable(skip_value())) rt::raise_error(rt::kInvalidArgument);
  std::array<std::string, 18> before;
  for (int k = 1; k <= 6; ++k)
    for (int p = 0; p < 3; ++p)
      before[(k - 1) * 3 + p] = rt::get_text(app::field_of(k, static_cast<Param>(p)));
  try {
    sweep();
  } catch (const rt::RuntimeError&) {
    for (int k = 1; k <= 6; ++k)
      for (int p = 0; p < 3; ++p)
        rt::set_text(app::field_of(k, static_cast<Param>(p)), before[(k - 1) * 3 + p]);
    throw;
  }
  app::DRAWGRAPH();
  app::CALC_RATIO();
}

}  // namespace literal
