#include "app/workspace/peak_curves.h"

#include "app/workspace/error_locations.h"
#include "runtime/convert/arithmetic.h"
#include "runtime/errors/runtime_error.h"

namespace app {

namespace {
std::vector<float>& component_curve(Workspace& w, int slot, std::int32_t index) {
  if (index < 0 || index > 2000)
    rt::raise_error(rt::kSubscriptOutOfRange, location(ArrayCheck::IndexOutOfRange));
  std::vector<float>& curve = w.component_curves.at(static_cast<std::size_t>(slot - 7));
  if (curve.empty()) curve.assign(2001, 0.0f);
  return curve;
}
}  // namespace

float& peak_curve(Workspace& w, int slot, std::int32_t index) {
  if (slot > 6) return component_curve(w, slot, index)[static_cast<std::size_t>(index)];
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
  if (slot > 6) {
    if (index < 0 || index > 2000)
      rt::raise_error(rt::kSubscriptOutOfRange, location(ArrayCheck::IndexOutOfRange));
    const std::vector<float>& curve = w.component_curves.at(static_cast<std::size_t>(slot - 7));
    return curve.empty() ? 0.0f : curve[static_cast<std::size_t>(index)];
  }
  return peak_curve(const_cast<Workspace&>(w), slot, index);
}

const float* peak_curve_values(const Workspace& w, int slot, std::int32_t last) {
  if (last < 0) return nullptr;
  const auto needed = static_cast<std::size_t>(last) + 1;
  if (slot > 6) {
    const std::vector<float>& curve = w.component_curves.at(static_cast<std::size_t>(slot - 7));
    return curve.size() >= needed ? curve.data() : nullptr;
  }
  const std::int32_t upper =
      slot == 6 ? decltype(w.PEAKCURVE6)::kUpper : decltype(w.PEAKCURVE1)::kUpper;
  if (slot < 1 || last > upper) return nullptr;
  // The arrays as peak_curve names them; element 0 starts each.
  return &peak_curve(const_cast<Workspace&>(w), slot, 0);
}

float sum_in_slot_order(const float (&values)[6]) {
  double sum = values[0];
  for (int k = 1; k < 6; ++k) sum += values[k];
  return rt::to_single(sum);
}

float sum_in_slot_order(const float* values, int last) {
  double sum = values[0];
  for (int k = 1; k < last; ++k) sum += values[k];
  return rt::to_single(sum);
}

}  // namespace app
