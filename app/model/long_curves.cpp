#include "app/model/long_curves.h"

#include "app/model/peak_profile.h"
#include "app/workspace/peak_curves.h"
#include "app/workspace/peak_table.h"
#include "app/workspace/workspace.h"
#include "runtime/forms/statement_pump.h"

namespace app {

LongModelCurves long_model_curves(const LongSpectrum& s) {
  const ProfileConstants constants = ProfileConstants::for_mix(workspace().MIXRATIO);
  const std::size_t n = s.x.size();
  LongModelCurves c;
  c.sum.assign(n, 0.0f);
  for (int k = 1; k <= kComponents; ++k) {
    std::vector<float>& curve = c.peaks[static_cast<std::size_t>(k - 1)];
    curve.assign(n, 0.0f);
    c.present[static_cast<std::size_t>(k - 1)] = Present(k);
    if (!Present(k) || n == 0) continue;
    const PeakShape shape = read_peak_shape(k);
    const double w2 = width_squared(shape);
    for (std::size_t i = 0; i < n; ++i) {
      // The windows repaint during a long computation, as in the arrays' loops.
      if (i % 1024 == 0) rt::count_statement();
      curve[i] = peak_value(s.x[i], shape, w2, constants);
    }
  }
  for (std::size_t i = 0; i < n; ++i) {
    float values[kComponents];
    for (std::size_t k = 0; k < kComponents; ++k) values[k] = c.peaks[k][i];
    c.sum[i] = sum_in_slot_order(values, kComponents);
  }
  return c;
}

}  // namespace app
