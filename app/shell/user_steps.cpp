#include "app/shell/user_steps.h"

#include "app/commands/undo_history.h"

namespace app {

void end_user_step() { undo_checkpoint(); }

void keep_no_undo_history() { set_undo_enabled(false); }

}  // namespace app
