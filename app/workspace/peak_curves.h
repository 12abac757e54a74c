#pragma once
// The workspace's six peak curves and their sum, reached by slot number.

#include "app/workspace/workspace.h"

namespace app {

// PEAKCURVE1 ... PEAKCURVE6 for slot 1 ... 6 (PEAKCURVE6 has 1001 elements, the others 2001);
// slots 7 to 20 the components' curves (2001 elements, zeros until first written).
float& peak_curve(Workspace& w, int slot, std::int32_t index);
float peak_curve(const Workspace& w, int slot, std::int32_t index);
// Slot k's curve as an array when its elements 0 to `last` all exist (what peak_curve gives
// for them without a check each); null otherwise.
const float* peak_curve_values(const Workspace& w, int slot, std::int32_t last);

// The sum of six curve values, added in slot order in double and rounded once to single.
float sum_in_slot_order(const float (&values)[6]);
// The same over the six and then the components 7 to `last` (present or zero), added on in
// slot order before the one rounding; equal to the six's sum when `last` is 6.
float sum_in_slot_order(const float* values, int last);

}  // namespace app
