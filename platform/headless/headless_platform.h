#pragma once
// The platform without a screen: windows and controls exist only as the run-time's values,
// dialogs and question boxes take the answers a script queued, the clipboard is a text held
// here and error reports go to standard error.

#include <deque>
#include <iosfwd>
#include <string>

#include "platform/actions/user_action.h"
#include "runtime/forms/platform.h"

namespace headless {

class HeadlessPlatform : public rt::Platform {
 public:
  explicit HeadlessPlatform(std::ostream& errors);

  // An answer file (with its full path), cancel, yes or no action.
  void queue_answer(actions::UserAction answer) { answers_.push_back(std::move(answer)); }
  std::size_t queued_answers() const { return answers_.size(); }
  const std::string& clipboard() const { return clipboard_; }

  void form_created(rt::Form&) override {}
  void form_shown(rt::Form&, bool) override {}
  void form_destroyed(rt::Form&) override {}
  void control_changed(rt::Control&) override {}
  void picture_changed(rt::Control&) override {}

  // Takes the oldest queued answer; a file dialog needs a file or cancel answer, a question
  // box a yes or no answer (ScriptError otherwise).
  std::optional<std::string> file_dialog(const rt::FileDialogRequest& request) override;
  int message_box(const rt::MessageBoxRequest& request) override;
  bool set_clipboard_text(const std::string& text) override;
  void show_error_report(const std::string& caption, const std::string& text) override;
  void process_pending() override {}

 private:
  std::deque<actions::UserAction> answers_;
  std::string clipboard_;
  std::ostream& errors_;
};

// CR LF and lone CR line breaks of a report become the line feeds of a terminal.
std::string terminal_lines(const std::string& text);

}  // namespace headless
