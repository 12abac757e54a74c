#include "app/commands/fit_commands.h"

#include "app/commands/fit_report_window.h"
#include "app/fit/calc_ratio.h"
#include "app/fit/fitting.h"
#include "app/fit/refine.h"
#include "app/graph/drawgraph.h"
#include "app/graph/fit_view_window.h"
#include "app/workspace/workspace.h"
#include "runtime/forms/menu_checks.h"

namespace app {

void BUTTON1_ON() {
  fit_peaks();
  update_fit_report_window();
  DRAWGRAPH();
  CALC_RATIO();
}

void BUTTON27_ON() { CALC_RATIO(); }

void REFINE_ON() {
  refine_table();
  update_fit_report_window();
  DRAWGRAPH();
  CALC_RATIO();
}

void FITREPORT_ON() { show_fit_report_window(); }

void WEIGHTCOUNTS_ON() {
  workspace().fit.weight_counts = rt::menu_checked(kWeightCountsItem);
  // The fit view's residual is in counting sigmas or in counts by this choice.
  update_fit_view_window();
}

void ACTIVEBACKGROUND_ON() {
  workspace().fit.active_background = rt::menu_checked(kActiveBackgroundItem);
}

}  // namespace app
