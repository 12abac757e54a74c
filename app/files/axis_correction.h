#pragma once

#include <string>

namespace app {

// A centre moved by the shift: the centre text as VAL reads it plus the single shift, formed
// in double and written with 15 digits, so 284.8 + 0.3 gives 285.09998780489.
std::string shifted_centre(const std::string& centre_text, float d);

// "Collect": shifts the spectrum's x values and the displayed x range by the number in
// "X axis +", asks whether the peak centres move too, and redraws whatever the answer.
void BUTTON4_ON();

}  // namespace app
