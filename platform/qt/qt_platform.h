#pragma once
// The desktop platform: shows the run-time's forms as Qt windows, answers its dialogs, and
// runs the queued events from the Qt event loop, one at a time.

#include <QElapsedTimer>
#include <QObject>

#include <set>

#include "runtime/forms/platform.h"

class QWidget;

namespace actions {
class SessionRecorder;
}

namespace desktop {

class QtPlatform final : public rt::Platform {
 public:
  QtPlatform();
  ~QtPlatform() override;

  void form_created(rt::Form& form) override;
  void form_shown(rt::Form& form, bool shown) override;
  void form_destroyed(rt::Form& form) override;
  void control_changed(rt::Control& control) override;
  void picture_changed(rt::Control& picture) override;
  void menu_check_changed(const std::string& item, bool checked) override;

  std::optional<std::string> file_dialog(const rt::FileDialogRequest& request) override;
  int message_box(const rt::MessageBoxRequest& request) override;
  bool set_clipboard_text(const std::string& text) override;
  void show_error_report(const std::string& caption, const std::string& text) override;

  void process_pending() override;
  void show_manual() override;

  // Arranges for the queued events to run from the event loop once control returns there.
  void schedule_dispatch();

  // The recorder of this session (`--record`), or nullptr.
  void set_recorder(actions::SessionRecorder* recorder) { recorder_ = recorder; }
  actions::SessionRecorder* recorder() const { return recorder_; }

  // How long a running procedure keeps the windows waiting at most between two looks at the
  // window system.
  static constexpr int kPumpIntervalMs = 16;

 private:
  void dispatch();
  void end_if_quit();
  // Shows the control values that changed while a procedure ran.
  void show_changed_controls();

  QObject context_;  // owns the dispatch timers: none fires after the platform is gone
  bool dispatch_scheduled_ = false;
  bool dispatching_ = false;
  QElapsedTimer pump_clock_;
  std::set<rt::Control*> changed_;  // changed during a procedure, not yet shown
  actions::SessionRecorder* recorder_ = nullptr;
};

// The current program's platform when it is the desktop's, or nullptr (the widgets use it to
// schedule dispatch).
QtPlatform* qt_platform();
// After a user action queued an event: runs it soon, from the event loop.
void schedule_dispatch();

// The window that a dialog of this owner belongs to: the owner's form window, or the main
// window for the null reference; nullptr when there is none.
QWidget* owner_window(rt::ObjRef owner);

}  // namespace desktop
