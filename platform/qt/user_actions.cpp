#include "platform/qt/user_actions.h"

#include <optional>

#include "app/shell/user_steps.h"
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
  actions::SessionRecorder* recorder = session_recorder();
  if (recorder) recorder->before_action(action);
  bool queued = false;
  try {
    DesktopContext context(buttons);
    // A constraint cell typed key by key is checked once the field is left.
    std::optional<app::KeyByKeyTyping> one_key;
    if (action.kind == ActionKind::Set) one_key.emplace();
    queued = actions::perform_action(action, context);
  } catch (const actions::ScriptError&) {
    return false;  // a widget whose control has gone: nothing to do
  }
  if (recorder) recorder->after_action(action, buttons, queued);
  if (queued) schedule_dispatch();
  // A box without a procedure changes its state with no event to make it a step.
  if (!queued && (action.kind == ActionKind::Click || action.kind == ActionKind::Check))
    app::end_user_step();
  return queued;
}

void field_left(const std::string& field) {
  if (actions::SessionRecorder* recorder = session_recorder()) recorder->field_left(field);
  app::end_typed_field();  // checked, and one undo step once it is left
}

void dialog_answered(const actions::UserAction& answer) {
  if (actions::SessionRecorder* recorder = session_recorder()) recorder->answered(answer);
}

}  // namespace desktop
