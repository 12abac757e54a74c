#pragma once
// The fit exactly as the procedure reads: every figure recomputes every slot at every point,
// reading each field's text again for every point and slot, and the first trial of a scan
// computes its figure twice. Slow by design; the shipped sweep must match it bit for bit.

namespace literal {

void calc_fitline();
float kai2();
// The sweep alone, then the whole "FITTING" press (refusals, restore on error, redraw, ratios).
void sweep();
void fitting_press();

}  // namespace literal
