#pragma once

namespace app {

// The start-up statements, run once the main window exists: geometry and Lorentzian fraction,
// the other windows, the control references and the colour swatches.
void STARTUP();

// The six peak colours (0x00BBGGRR), slot 1 first; the swatches, the graph's curves and the
// mouse hit test use the same values.
inline constexpr unsigned kPeakColours[6] = {0xFF0000, 0xFF00FF, 0x00FF00, 0xFFFF00, 0x00FFFF, 0xFF0080};

}  // namespace app
