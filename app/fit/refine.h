#pragma once
// "Refine (least squares)": from the peak table as it stands, the least-squares optimum of the
// fit figure's sum (the same points, the same profile, in double precision) over the heights,
// centres and widths that FITTING would scan, within bounds: height >= 0, width between half
// the smallest x spacing and the x span, centre within the x range. The asymmetry
// coefficients stay as typed.

#include "app/fit/least_squares.h"

namespace app {

// The solve and the fields, without the redraw and the ratios: writes each refined value's
// text into its field and keeps the fit's record for the report. A table that cannot be
// refined, a solver that fails or ends worse than it started, or a field typed while it ran
// raises run-time error 5 with the reason, and nothing is changed.
void refine_table(const SolveLimits& limits = {});

}  // namespace app
