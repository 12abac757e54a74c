#include "app/shell/program.h"

#include "app/fit/fit_report.h"
#include "app/shell/event_table.h"
#include "app/shell/startup.h"
#include "forms/form_library.h"
#include "runtime/forms/objects.h"

namespace app {

void start_program() {
  forget_fit();
  forms::install_program_forms();
  publish_event_procedures();
  rt::create_form("MAINFORM", true);
  STARTUP();
}

}  // namespace app
