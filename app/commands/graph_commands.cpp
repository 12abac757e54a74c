#include "app/commands/graph_commands.h"

#include "app/graph/drawgraph.h"
#include "app/graph/fit_view_window.h"
#include "app/graph/mouse_editing.h"
#include "app/graph/plot_mapping.h"
#include "app/workspace/control_refs.h"
#include "app/workspace/workspace.h"
#include "runtime/forms/control_values.h"
#include "runtime/forms/events.h"

namespace app {

void BUTTON2_ON() { DRAWGRAPH(); }

void FITVIEW_ON() { show_fit_view_window(); }

void SAVEFIGURE_ON() { export_fit_view_figure(rt::kNullRef); }

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

void PICTURE1_MOUSEDOWN() {
  const rt::MouseData mouse = rt::event_mouse();
  record_press(workspace(), mouse.x, mouse.y);
}

void PICTURE1_MOUSEMOVE() {
  const rt::MouseData mouse = rt::event_mouse();
  follow_marker_drag(workspace(), mouse.x, mouse.y);
}

void PICTURE1_MOUSEUP() {
  Workspace& w = workspace();
  // The press ends also when the redraw fails: a press left in marker mode would draw a
  // marker line at every later pointer movement, button held or not.
  struct EndPress {
    Workspace& w;
    ~EndPress() { w.MOUSEMODE = kNoPress; }
  } end_press{w};

  const rt::MouseData mouse = rt::event_mouse();
  show_position(w, mouse.x, mouse.y);
  if (w.MOUSEMODE == kMarkerDrag) {
    DRAWGRAPH();
    draw_release_marker(mouse.x);
    return;
  }
  if (apply_peak_drag(w, mouse.x, mouse.y)) DRAWGRAPH();
}

}  // namespace app
