#pragma once

namespace app {

// The model: every present slot's profile at each point's x into PEAKCURVE1-PEAKCURVE6 (zeros
// for a slot that is not present) and their sum, added in slot order, into SUMCURVE, for the
// points 0 to LASTPOINT (index 0 also when LASTPOINT is -1).
void CALC_FITLINE();

}  // namespace app
