#pragma once
// Performs an action script line by line, as a user would, on the headless platform. After
// every line the event loop runs until the queue is empty, so the next line sees the result.

#include <iosfwd>
#include <string>

#include "platform/actions/user_action.h"
#include "platform/headless/headless_platform.h"

namespace headless {

enum ExitStatus : int { kRanClean = 0, kRanWithErrors = 1, kScriptFailed = 2 };

class ScriptDriver : private actions::ActionContext {
 public:
  ScriptDriver(HeadlessPlatform& platform, std::ostream& out, std::ostream& err);

  // Runs the script; the program must already be started. Returns the exit status.
  int run(std::istream& script);

  // One line (for tests). Throws actions::ScriptError.
  void perform(const std::string& line);
  // One action, as its line would perform it (the batch's steps).
  void perform(const actions::UserAction& action);
  bool ended() const { return ended_; }

 private:
  // The peak table's texts and the total are printed as the program's view has them; other
  // controls and windows as the run-time holds them. False when the view holds no such text.
  bool print_from_view(const std::string& target);
  void queue_answer(const actions::UserAction& answer) override;
  void write_line(const std::string& line) override;
  std::string clipboard_text() override;

  HeadlessPlatform& platform_;
  std::ostream& out_;
  std::ostream& err_;
  bool ended_ = false;
};

}  // namespace headless
