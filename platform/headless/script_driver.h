#pragma once
// Performs an action script line by line, as a user would, on the headless platform. After
// every line the event loop runs until the queue is empty, so the next line sees the result.

#include <iosfwd>
#include <string>

#include "platform/headless/headless_platform.h"

namespace headless {

enum ExitStatus : int { kRanClean = 0, kRanWithErrors = 1, kScriptFailed = 2 };

class ScriptDriver {
 public:
  ScriptDriver(HeadlessPlatform& platform, std::ostream& out, std::ostream& err);

  // Runs the script; the program must already be started. Returns the exit status.
  int run(std::istream& script);

  // One line (for tests). Throws ScriptError.
  void perform(const std::string& line);
  bool ended() const { return ended_; }

 private:
  void set(const std::string& rest);
  void click(const std::string& rest);
  void check(const std::string& rest);
  void menu(const std::string& rest);
  void mouse(const std::string& rest);
  void answer(const std::string& rest);
  void print(const std::string& rest);
  void pixel(const std::string& rest);
  void close(const std::string& rest);

  HeadlessPlatform& platform_;
  std::ostream& out_;
  std::ostream& err_;
  bool ended_ = false;
  int mouse_buttons_ = 0;
};

}  // namespace headless
