#include "app/fit/kai2.h"

#include "app/model/calc_fitline.h"
#include "app/model/long_curves.h"
#include "app/workspace/control_refs.h"
#include "app/workspace/counted_loop.h"
#include "app/workspace/spectrum_points.h"
#include "app/workspace/workspace.h"
#include "runtime/convert/arithmetic.h"
#include "runtime/convert/text_to_number.h"
#include "runtime/forms/control_values.h"

namespace app {

float read_skip() { return rt::to_single(rt::val(rt::get_text(EDIT(43)))); }

bool skip_usable(float skip) {
  if (!(skip > 0)) return false;
  // About 130 comparisons per point of a full spectrum: a sweep then still ends within seconds.
  constexpr long kMaxPasses = 1L << 17;
  return counted_passes(0, workspace().LASTPOINT, skip, kMaxPasses) <= kMaxPasses;
}

float add_squared_difference(float sum, float y, float model) {
  // Both are singles, so the difference is exact in double whenever their magnitudes are
  // within 2^29 of each other; the square is then exact as well.
  const double difference = static_cast<double>(y) - model;
  return rt::to_single(sum + difference * difference);
}

float KAI2() {
  const float skip = read_skip();
  CALC_FITLINE();
  return figure_of_curves(skip);
}

float figure_of_curves(float skip) {
  float sum = 0;
  const Workspace& w = workspace();
  if (const LongSpectrum* long_points = long_spectrum()) {
    // Its curves are not kept: computed as the graph computed them.
    const LongModelCurves curves = long_model_curves(*long_points);
    counted_loop(0, static_cast<float>(last_point()), skip, [&](float counter) {
      const auto i = static_cast<std::size_t>(loop_index(counter));
      sum = add_squared_difference(sum, long_points->y.at(i), curves.sum.at(i));
    });
    return sum;
  }
  counted_loop(0, w.LASTPOINT, skip, [&](float counter) {
    const std::int32_t i = loop_index(counter);
    sum = add_squared_difference(sum, w.YDATA.at(i), w.SUMCURVE.at(i));
  });
  return sum;
}

}  // namespace app
