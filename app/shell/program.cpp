#include "app/shell/program.h"

#include "app/commands/event_table.h"
#include "app/shell/startup.h"
#include "app/workspace/components.h"
#include "forms/form_library.h"
#include "runtime/forms/objects.h"

namespace app {

void start_program() {
  forms::install_program_forms();
  publish_event_procedures();
  // Typing into a peak field replaces whatever value a fit kept behind its text; the
  // components' mirrored rows and constraint cells react as well.
  rt::set_user_text_observer([](rt::ObjRef field) { on_user_text(field); });
  rt::create_form("MAINFORM", true);
  STARTUP();
}

}  // namespace app
