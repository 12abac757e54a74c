#pragma once
// The commands of the "Components" window (FORM7) and of the menu items that show it.

#include "runtime/forms/objects.h"

namespace app {

// Fit > "Components" and Window > "Components": shows the window and brings it forward.
void COMPONENTS_ON();
void SHOWCOMPONENTS_ON();

// A click on component k's "As" box in the window: as the peak table's box (slots 1 to 6 are
// the same box), then the graph is redrawn.
void component_asymmetric_clicked(int k);

void add_doublet();

}  // namespace app
