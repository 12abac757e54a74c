#pragma once
// The workspace layer's part of the program's state: the workspace and the control
// references. The program (app/shell/program.h) holds it inside its run-time state; workspace()
// and controls() reach the current program's.

#include "app/workspace/control_refs.h"
#include "app/workspace/workspace.h"
#include "runtime/state/runtime_state.h"

namespace app {

struct WorkspacePart : rt::ProgramPart {
  Workspace workspace;
  ControlRefs controls;
};

// The current program's; every layer's part derives from this one.
inline WorkspacePart& workspace_part() { return static_cast<WorkspacePart&>(*rt::state().program); }

}  // namespace app
