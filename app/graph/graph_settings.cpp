#include "app/graph/graph_settings.h"

#include "app/graph/drawgraph.h"
#include "app/workspace/control_refs.h"
#include "runtime/dialogs/control_values.h"

namespace app {

void BUTTON2_ON() { DRAWGRAPH(); }

void BUTTON29_ON() { DRAWGRAPH(); }

void BUTTON26_ON() {
  if (rt::get_check(CHECK(1)) == 0) {
    rt::set_text(EDIT(3), "");
    rt::set_text(EDIT(4), "");
    rt::set_text(EDIT(5), "");
  }
  if (rt::get_check(CHECK(2)) == 0) {
    rt::set_text(EDIT(6), "");
    rt::set_text(EDIT(7), "");
    rt::set_text(EDIT(8), "");
  }
}

}  // namespace app
