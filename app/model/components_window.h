#pragma once
// The "Components" window (FORM7): its measures (FWHM, area, share) follow the curves as drawn.

namespace app {

// Brings rows 1 to 6 into step with the peak table and writes each present component's FWHM,
// area and share (empty for an absent one). Called at the end of every redraw.
void update_components_window();

// Opens the window, or brings it forward, up to date.
void show_components_window();

}  // namespace app
