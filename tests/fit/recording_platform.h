#pragma once
// A platform that shows nothing, keeps the clipboard's text and can act as a user typing into a
// field while a procedure pumps.

#include <functional>
#include <string>

#include "runtime/forms/platform.h"

namespace fit_testing {

class RecordingPlatform : public rt::Platform {
 public:
  std::string clipboard;
  int clipboard_writes = 0;
  int pumps = 0;
  std::function<void(int)> on_pump;  // called with the pump's number, from 1

  void form_created(rt::Form&) override {}
  void form_shown(rt::Form&, bool) override {}
  void form_destroyed(rt::Form&) override {}
  void control_changed(rt::Control&) override {}
  void picture_changed(rt::Control&) override {}
  std::optional<std::string> file_dialog(const rt::FileDialogRequest&) override { return std::nullopt; }
  int message_box(const rt::MessageBoxRequest&) override { return rt::kNo; }
  bool set_clipboard_text(const std::string& text) override {
    clipboard = text;
    ++clipboard_writes;
    return true;
  }
  void show_error_report(const std::string&, const std::string&) override {}
  void process_pending() override {
    ++pumps;
    if (on_pump) on_pump(pumps);
  }
};

}  // namespace fit_testing
