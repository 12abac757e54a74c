#pragma once
// The "Fit report" window (FORM6): the last fit's report as a grid, opened from the "Fit" menu
// and kept up to date while it is open.

namespace app {

// Fills the window from the last fit when it is open; does nothing otherwise.
void update_fit_report_window();

// Opens the window (again, if the user closed it) and fills it.
void show_fit_report_window();

}  // namespace app
