#pragma once

namespace app {

// "FITTING" up to its redraw: one sweep of grid searches over the unlocked heights, centres and
// widths of the present slots 1 to 6. A spectrum of more than 1001 points is refused (error 9),
// and so is a Skip of 0 or below (error 5), before anything
// changes, and so is one typed while the sweep runs; a run-time error during the sweep puts
// every peak field back to the text it held before the press. The fit's record for the report
// keeps the values the sweep left.
void fit_peaks();

// The sweep alone, without the first refusal, the restore, the redraw and the ratios.
void fitting_sweep();

// Keeps the record of a FITTING sweep that just ended: the values its fields hold before the
// redraw rounds them. Never raises; a table it cannot read leaves no record.
void record_fitting_result();

}  // namespace app
