#include "platform/qt/user_actions.h"

#include <optional>

#include "app/commands/undo_history.h"
#include "app/workspace/components.h"
#include "platform/actions/script_error.h"
#include "platform/actions/session_recorder.h"
#include "platform/qt/qt_platform.h"

namespace desktop {
namespace {

// The desktop's side of performing: the pointer's real buttons; no answers or output, which
// only a script asks for.
class DesktopContext : public actions::ActionContext {
 public:
  explicit DesktopContext(int buttons) : buttons_(buttons) {}
  void queue_answer(const actions::UserAction&) override {}
  void write_line(const std::string&) override {}
  std::string clipboard_text() override { return {}; }
  int mouse_buttons(actions::ActionKind) override { return buttons_; }

 private:
  int buttons_;
};

constexpr int kAnyMouseButton = 1 | 2 | 16;

// A script speaks of the mouse on the graph only, and of moves only while a button is held
// (the program ignores the others).
bool recordable(const actions::UserAction& action, int buttons) {
  using actions::ActionKind;
  const bool mouse = action.kind == ActionKind::MouseDown || action.kind == ActionKind::MouseMove ||
                     action.kind == ActionKind::MouseUp;
  if (!mouse) return true;
  if (action.target != actions::kGraphPicture) return false;
  return action.kind != ActionKind::MouseMove || (buttons & kAnyMouseButton) != 0;
}

}  // namespace

void set_session_recorder(actions::SessionRecorder* recorder) {
  if (QtPlatform* platform = qt_platform()) platform->set_recorder(recorder);
}
actions::SessionRecorder* session_recorder() {
  const QtPlatform* platform = qt_platform();
  return platform ? platform->recorder() : nullptr;
}

bool user_action(const actions::UserAction& action, int buttons) {
  using actions::ActionKind;
  const bool typing = action.kind == ActionKind::Set;
  actions::SessionRecorder* recorder = session_recorder();
  // Typed text comes before whatever the user does next.
  if (recorder && !typing) recorder->flush_typed();
  bool queued = false;
  try {
    DesktopContext context(buttons);
    // A constraint cell typed key by key is checked once the field is left.
    std::optional<app::RuleCheckDeferral> one_key;
    if (typing) one_key.emplace();
    queued = actions::perform_action(action, context);
  } catch (const actions::ScriptError&) {
    return false;  // a widget whose control has gone: nothing to do
  }
  if (recorder) {
    if (typing) {
      recorder->typed(action);
    } else if (recordable(action, buttons)) {
      recorder->record(action, queued);
    }
  }
  if (queued) schedule_dispatch();
  // A box without a procedure changes its state with no event to make it a step.
  if (!queued && (action.kind == ActionKind::Click || action.kind == ActionKind::Check))
    app::undo_checkpoint();
  return queued;
}

void field_left(const std::string& field) {
  if (actions::SessionRecorder* recorder = session_recorder()) recorder->field_left(field);
  app::check_deferred_rules();
  app::undo_checkpoint();  // a typed field is one undo step once it is left
}

void dialog_answered(const actions::UserAction& answer) {
  if (actions::SessionRecorder* recorder = session_recorder()) recorder->answered(answer);
}

}  // namespace desktop
