#include "app/shell/program.h"

#include "app/commands/event_table.h"
#include "app/shell/startup.h"
#include "forms/form_library.h"
#include "runtime/forms/objects.h"

namespace app {

void start_program() {
  forms::install_program_forms();
  publish_event_procedures();
  rt::create_form("MAINFORM", true);
  STARTUP();
}

}  // namespace app
