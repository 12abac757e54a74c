#include "app/shell/program.h"

#include "app/commands/event_table.h"
#include "app/shell/startup.h"
#include "app/workspace/peak_table.h"
#include "forms/form_library.h"
#include "runtime/forms/objects.h"

namespace app {

void start_program() {
  forms::install_program_forms();
  publish_event_procedures();
  // Typing into a peak field replaces whatever value a fit kept behind its text.
  rt::set_user_text_observer([](rt::ObjRef field) { forget_kept_value_of(field); });
  rt::create_form("MAINFORM", true);
  STARTUP();
}

}  // namespace app
