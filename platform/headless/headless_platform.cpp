#include "platform/headless/headless_platform.h"

#include <ostream>

#include "platform/actions/script_error.h"

namespace headless {

using actions::ActionKind;

HeadlessPlatform::HeadlessPlatform(std::ostream& errors) : errors_(errors) {}

std::optional<std::string> HeadlessPlatform::file_dialog(const rt::FileDialogRequest& request) {
  if (answers_.empty() || (answers_.front().kind != ActionKind::AnswerFile &&
                           answers_.front().kind != ActionKind::AnswerCancel))
    throw actions::ScriptError("the file dialog \"" + request.title +
                               "\" opened with no file or cancel answer queued");
  const actions::UserAction a = answers_.front();
  answers_.pop_front();
  if (a.kind == ActionKind::AnswerCancel) return std::nullopt;
  return a.text;
}

int HeadlessPlatform::message_box(const rt::MessageBoxRequest& request) {
  // Boxes with a single button need no answer; a question does.
  if (request.buttons == 0) return rt::kOk;
  if (answers_.empty() || (answers_.front().kind != ActionKind::AnswerYes &&
                           answers_.front().kind != ActionKind::AnswerNo))
    throw actions::ScriptError("the question \"" + request.text +
                               "\" opened with no yes or no answer queued");
  const actions::UserAction a = answers_.front();
  answers_.pop_front();
  const bool yes = a.kind == ActionKind::AnswerYes;
  switch (request.buttons) {
    case 1:
      return yes ? rt::kOk : rt::kCancel;
    case 2:
      return yes ? rt::kRetry : rt::kAbort;
    case 5:
      return yes ? rt::kRetry : rt::kCancel;
    default:
      return yes ? rt::kYes : rt::kNo;
  }
}

bool HeadlessPlatform::set_clipboard_text(const std::string& text) {
  clipboard_ = text;
  return true;
}

void HeadlessPlatform::show_error_report(const std::string&, const std::string& text) {
  errors_ << terminal_lines(text) << '\n';
  errors_.flush();
}

std::string terminal_lines(const std::string& text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r') {
      out += '\n';
      if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
    } else {
      out += text[i];
    }
  }
  return out;
}

}  // namespace headless
