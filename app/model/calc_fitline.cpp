#include "app/model/calc_fitline.h"

#include <optional>

#include "app/model/peak_profile.h"
#include "app/workspace/counted_loop.h"
#include "app/workspace/peak_curves.h"
#include "app/workspace/peak_table.h"
#include "app/workspace/workspace.h"

namespace app {

void CALC_FITLINE() {
  Workspace& w = workspace();
  const ProfileConstants constants = ProfileConstants::for_mix(w.MIXRATIO);
  bool present[kSlots];
  for (int k = 1; k <= kSlots; ++k) present[k - 1] = Present(k);
  // Each slot's fields are read once, when the first point needs them, so that a field that
  // cannot be read fails where the point-by-point reading would have failed first.
  std::optional<PeakShape> shapes[kSlots];
  double width_squares[kSlots] = {};
  counted_loop(0, w.LASTPOINT, 1, [&](float counter) {
    const std::int32_t i = loop_index(counter);
    const float x = w.XDATA.at(i);
    float values[kSlots];
    for (int k = 1; k <= kSlots; ++k) {
      float& value = values[k - 1];
      if (!present[k - 1]) {
        value = 0;
      } else {
        if (!shapes[k - 1]) {
          shapes[k - 1] = read_peak_shape(k);
          width_squares[k - 1] = width_squared(*shapes[k - 1]);
        }
        value = peak_value(x, *shapes[k - 1], width_squares[k - 1], constants);
      }
      peak_curve(w, k, i) = value;
    }
    w.SUMCURVE.at(i) = sum_in_slot_order(values);
  });
}

}  // namespace app
