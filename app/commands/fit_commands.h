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

// Fit > "Refine (least squares)": the least-squares optimum of the table (refine_table), then,
// as FITTING ends, the redraw and the ratios.
void REFINE_ON();

// Fit > "Show fit report": opens the report window (again, if it was closed) and fills it.
void FITREPORT_ON();

// Fit > "Weight by counting statistics": the choice follows the item's check mark.
void WEIGHTCOUNTS_ON();
void ACTIVEBACKGROUND_ON();

}  // namespace app
