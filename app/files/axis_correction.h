#pragma once

namespace app {

// "Collect": shifts the spectrum's x values and the displayed x range by the number in
// "X axis +", asks whether the peak centres move too, and redraws whatever the answer.
void BUTTON4_ON();

}  // namespace app
