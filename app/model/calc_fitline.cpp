#include "app/model/calc_fitline.h"

#include <algorithm>
#include <optional>
#include <vector>

#include "app/model/peak_profile.h"
#include "app/model/profile_batch.h"
#include "app/workspace/components.h"
#include "app/workspace/counted_loop.h"
#include "app/workspace/peak_curves.h"
#include "app/workspace/peak_table.h"
#include "app/workspace/workspace.h"

namespace app {

void CALC_FITLINE() {
  Workspace& w = workspace();
  const ProfileConstants constants = ProfileConstants::for_mix(w.MIXRATIO);
  // The components beyond the six take part up to the highest present one; with none, the
  // model is the six slots' exactly.
  const int last = std::max(kSlots, component_count());
  bool present[kComponents] = {};
  for (int k = 1; k <= last; ++k) present[k - 1] = Present(k);
  for (int k = last + 1; k <= kComponents; ++k)
    w.component_curves.at(static_cast<std::size_t>(k - 7)).clear();
  // Each slot's fields are read once, when the first point needs them, so that a field that
  // cannot be read fails where the point-by-point reading would have failed first.
  std::optional<PeakShape> shapes[kComponents];
  double width_squares[kComponents] = {};
  // A shape that can raise no error at any point has its whole curve computed at once, on
  // vectors, when it is read; the loop then only hands its values out, point by point.
  const std::int32_t last_index = std::max<std::int32_t>(0, w.LASTPOINT);
  const bool batchable = last_index <= decltype(w.XDATA)::kUpper;
  const auto points = static_cast<std::size_t>(last_index) + 1;
  std::vector<float> sorted_x;
  std::vector<float> batched[kComponents];
  std::vector<double> divisors;
  std::vector<float> scratch;
  const auto batch_curve = [&](int k) {
    if (!batchable) return;
    if (sorted_x.empty()) {
      sorted_x.assign(w.XDATA.data(), w.XDATA.data() + points);
      std::sort(sorted_x.begin(), sorted_x.end());
    }
    const PeakShape& s = *shapes[k - 1];
    if (!batch_safe(s, sorted_x.data(), points)) return;
    divisors.resize(points);
    scratch.resize(points);
    batch_divisors(w.XDATA.data(), points, s, width_squares[k - 1], constants, divisors.data(),
                   scratch.data());
    batched[k - 1].resize(points);
    batch_values(s.height, divisors.data(), points, batched[k - 1].data());
  };
  counted_loop(0, w.LASTPOINT, 1, [&](float counter) {
    const std::int32_t i = loop_index(counter);
    const float x = w.XDATA.at(i);
    float values[kComponents];
    for (int k = 1; k <= last; ++k) {
      float& value = values[k - 1];
      if (!present[k - 1]) {
        value = 0;
      } else {
        if (!shapes[k - 1]) {
          shapes[k - 1] = read_peak_shape(k);
          width_squares[k - 1] = width_squared(*shapes[k - 1]);
          batch_curve(k);
        }
        const std::vector<float>& curve = batched[k - 1];
        value = !curve.empty() ? curve[static_cast<std::size_t>(i)]
                               : peak_value(x, *shapes[k - 1], width_squares[k - 1], constants);
      }
      peak_curve(w, k, i) = value;
    }
    w.SUMCURVE.at(i) = sum_in_slot_order(values, last);
  });
}

}  // namespace app
