#pragma once

namespace app {

// The start-up statements, run once the main window exists: geometry and Lorentzian fraction,
// the other windows, the control references and the colour swatches.
void STARTUP();

}  // namespace app
