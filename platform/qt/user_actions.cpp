#include "platform/qt/user_actions.h"

#include "app/shell/user_steps.h"
#include "platform/actions/script_error.h"
#include "platform/actions/session_recorder.h"
#include "platform/qt/qt_platform.h"

namespace desktop {
namespace {

actions::SessionRecorder* g_recorder = nullptr;

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

void set_session_recorder(actions::SessionRecorder* recorder) { g_recorder = recorder; }
actions::SessionRecorder* session_recorder() { return g_recorder; }

bool user_action(const actions::UserAction& action, int buttons) {
  using actions::ActionKind;
  if (g_recorder) g_recorder->before_action(action);
  bool queued = false;
  try {
    DesktopContext context(buttons);
    queued = actions::perform_action(action, context);
  } catch (const actions::ScriptError&) {
    return false;  // a widget whose control has gone: nothing to do
  }
  if (g_recorder) g_recorder->after_action(action, buttons, queued);
  if (queued) schedule_dispatch();
  // A box without a procedure changes its state with no event to make it a step.
  if (!queued && (action.kind == ActionKind::Click || action.kind == ActionKind::Check))
    app::end_user_step();
  return queued;
}

void field_left(const std::string& field) {
  if (g_recorder) g_recorder->field_left(field);
  app::end_user_step();  // a typed field is one undo step once it is left
}

void dialog_answered(const actions::UserAction& answer) {
  if (g_recorder) g_recorder->answered(answer);
}

}  // namespace desktop
