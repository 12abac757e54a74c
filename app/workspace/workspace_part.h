#pragma once
// The workspace layer's part of the program's state: the workspace and the control
// references. The program (app/shell/program.h) holds it inside its run-time state; workspace()
// and controls() reach the current program's.

#include <string>
#include <vector>

#include "app/workspace/control_refs.h"
#include "app/workspace/workspace.h"
#include "runtime/state/runtime_state.h"

namespace app {

// What the "Components" window's bookkeeping keeps between events (components.cpp): what each
// mirrored twin showed at the last sync, and the constraint cells typed while their check
// waits for the field to be left.
struct ComponentWindowState {
  std::vector<std::string> last_synced;
  bool deferring = false;
  std::vector<rt::ObjRef> deferred_cells;
};

struct WorkspacePart : rt::ProgramPart {
  Workspace workspace;
  ControlRefs controls;
  ComponentWindowState component_window;
};

// The current program's; every layer's part derives from this one.
inline WorkspacePart& workspace_part() { return static_cast<WorkspacePart&>(*rt::state().program); }

}  // namespace app
