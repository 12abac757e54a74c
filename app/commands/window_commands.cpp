#include "app/commands/window_commands.h"

#include "app/commands/fit_report_window.h"
#include "app/commands/raw_window.h"
#include "app/graph/fit_view_window.h"
#include "app/workspace/control_refs.h"
#include "runtime/forms/events.h"
#include "runtime/forms/objects.h"
#include "runtime/forms/platform.h"

namespace app {

void SHOWPEAKS_ON() { rt::show_form(controls().form2, -1); }
void SHOWGRAPHSETTING_ON() { rt::show_form(controls().form3, -1); }
void SHOWRAWSPECTRUM_ON() { show_raw_window(); }
void SHOWFITREPORT_ON() { show_fit_report_window(); }
void SHOWFITVIEW_ON() { show_fit_view_window(); }

void EXIT_ON() { rt::close_form_by_user(rt::main_form()); }

void MANUAL_ON() {
  if (rt::Platform* platform = rt::platform()) platform->show_manual();
}

}  // namespace app
