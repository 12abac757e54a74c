#include "app/workspace/peak_curves.h"

#include "runtime/convert/arithmetic.h"

namespace app {

float& peak_curve(Workspace& w, int slot, std::int32_t index) {
  switch (slot) {
    case 1:
      return w.PEAKCURVE1.at(index);
    case 2:
      return w.PEAKCURVE2.at(index);
    case 3:
      return w.PEAKCURVE3.at(index);
    case 4:
      return w.PEAKCURVE4.at(index);
    case 5:
      return w.PEAKCURVE5.at(index);
    default:
      return w.PEAKCURVE6.at(index);
  }
}

float peak_curve(const Workspace& w, int slot, std::int32_t index) {
  return peak_curve(const_cast<Workspace&>(w), slot, index);
}

float sum_in_slot_order(const float (&values)[6]) {
  double sum = values[0];
  for (int k = 1; k < 6; ++k) sum += values[k];
  return rt::to_single(sum);
}

}  // namespace app
