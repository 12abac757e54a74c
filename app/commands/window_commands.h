#pragma once
// The commands of the main window's Window and Help menus, and File > Exit.

namespace app {

// Window > the tool windows: each shows its window and brings it to the front (a closed tool
// window is only hidden; the raw-spectrum window and the fit report are created when first
// asked for).
void SHOWPEAKS_ON();
void SHOWGRAPHSETTING_ON();
void SHOWRAWSPECTRUM_ON();
void SHOWFITREPORT_ON();
void SHOWFITVIEW_ON();

// File > Exit: ends the program as closing the main window does, asking nothing.
void EXIT_ON();

// Help > Manual: the README, rendered, from the copy built into the program.
void MANUAL_ON();

}  // namespace app
