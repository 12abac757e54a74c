#include "app/commands/about_commands.h"

#include "app/workspace/control_refs.h"
#include "runtime/forms/objects.h"

namespace app {

void ABOUT_ON() {
  auto& c = controls();
  if (!rt::form_exists(c.form4)) {
    c.form4 = rt::create_form("FORM4", true);
  } else {
    rt::show_form(c.form4, -1);
  }
}

}  // namespace app
