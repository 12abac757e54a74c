#pragma once
// The commands of the fit.

namespace app {

// "FITTING": one sweep of grid searches over the unlocked heights, centres and widths of the
// present slots 1 to 6, then the redraw and the peak ratios. A Skip of 0 or below is refused
// (error 5) before anything changes; a run-time error during the sweep puts every peak field
// back to the text it held before the press.
void BUTTON1_ON();

// "COPY": the ratios and the clipboard line, nothing else.
void BUTTON27_ON();

}  // namespace app
