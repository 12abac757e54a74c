#include "app/shell/user_steps.h"

#include "app/commands/undo_history.h"
#include "app/workspace/components.h"

namespace app {

KeyByKeyTyping::KeyByKeyTyping() : deferral_(std::make_unique<RuleCheckDeferral>()) {}
KeyByKeyTyping::~KeyByKeyTyping() = default;

void end_typed_field() {
  check_deferred_rules();
  undo_checkpoint();
}

void end_user_step() { undo_checkpoint(); }

void keep_no_undo_history() { set_undo_enabled(false); }

}  // namespace app
