#pragma once
// A platform for tests that shows nothing: windows, controls and pictures change silently,
// dialogs are cancelled, questions answered OK, the clipboard takes everything. A test's own
// platform derives from it and overrides only what it watches or answers.

#include <optional>
#include <string>

#include "runtime/forms/platform.h"

namespace testing_support {

struct QuietPlatform : rt::Platform {
  void form_created(rt::Form&) override {}
  void form_shown(rt::Form&, bool) override {}
  void form_destroyed(rt::Form&) override {}
  void control_changed(rt::Control&) override {}
  void picture_changed(rt::Control&) override {}
  std::optional<std::string> file_dialog(const rt::FileDialogRequest&) override {
    return std::nullopt;
  }
  int message_box(const rt::MessageBoxRequest&) override { return rt::kOk; }
  bool set_clipboard_text(const std::string&) override { return true; }
  void show_error_report(const std::string&, const std::string&) override {}
  void process_pending() override {}
};

}  // namespace testing_support
