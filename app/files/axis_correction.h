#pragma once

#include <string>

#include "app/workspace/workspace.h"

namespace app {

// A centre moved by the shift: the centre text as VAL reads it plus the single shift, formed
// in double and written with 15 digits, so 284.8 + 0.3 gives 285.09998780489.
std::string shifted_centre(const std::string& centre_text, float d);

// Shifts the spectrum's x values and the displayed x range by d. The shifted values are all
// formed before any is stored: an overflow (error 6) leaves the spectrum as it was.
void shift_spectrum_x(Workspace& w, float d);

// Shifts the centre of every present slot by d.
void shift_peak_centres(float d);

}  // namespace app
