#include "app/fit/grid_scan.h"

#include "app/workspace/counted_loop.h"
#include "app/workspace/error_locations.h"
#include "runtime/errors/runtime_error.h"

namespace app {

void refuse_endless_grid(float start, float limit, float step) {
  // The increments never fall below the step until the step is lost, so this walk takes no
  // more passes than the grid has trials.
  for (float t = start; t <= limit;) {
    const float next = t + step;
    if (next == t) rt::raise_error(rt::kOverflow, location(FitCheck::GridStuck));
    t = next;
  }
}

float grid_scan(float start, float limit, float step,
                const std::function<float(float)>& figure_of) {
  refuse_endless_grid(start, limit, step);
  bool first = true;
  float best = 0, best_figure = 0;
  counted_loop(start, limit, step, [&](float t) {
    const float f = figure_of(t);
    // The first trial is recorded before it is compared; its figure, computed again for the
    // comparison, is the same value.
    if (first) {
      best = t;
      best_figure = f;
      first = false;
    }
    if (best_figure >= f) {
      best = t;
      best_figure = f;
    }
  });
  return best;
}

}  // namespace app
