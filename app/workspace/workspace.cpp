#include "app/workspace/workspace.h"

#include "app/workspace/workspace_part.h"
#include "runtime/forms/menu_checks.h"

namespace app {

Workspace& workspace() { return workspace_part().workspace; }

void set_start_values(Workspace& w) {
  w.PICWIDTH = 664;
  w.PICHEIGHT = 648;
  w.PLOTLEFT = 100;
  w.PLOTTOP = 50;
  w.PLOTWIDTH = 550;
  w.PLOTHEIGHT = 560;
  w.MIXRATIO = static_cast<double>(0.3f);
}

void set_weight_counts(bool on) {
  workspace().fit.weight_counts = on;
  rt::set_menu_checked(kWeightCountsItem, on);
}

}  // namespace app
