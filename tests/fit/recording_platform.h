#pragma once
// A platform that shows nothing, keeps the clipboard's text and can act as a user typing into a
// field while a procedure pumps.

#include <functional>
#include <string>

#include "tests/support/quiet_platform.h"

namespace fit_testing {

class RecordingPlatform : public testing_support::QuietPlatform {
 public:
  std::string clipboard;
  int clipboard_writes = 0;
  int pumps = 0;
  std::function<void(int)> on_pump;  // called with the pump's number, from 1

  int message_box(const rt::MessageBoxRequest&) override { return rt::kNo; }
  bool set_clipboard_text(const std::string& text) override {
    clipboard = text;
    ++clipboard_writes;
    return true;
  }
  void process_pending() override {
    ++pumps;
    if (on_pump) on_pump(pumps);
  }
};

}  // namespace fit_testing
