#pragma once
// What the run-time asks of the platform that shows it: the desktop (Qt widgets) or the
// headless driver of action scripts. The run-time owns every value; the platform shows them,
// turns the user's actions into events and answers the dialogs.

#include <optional>
#include <string>
#include <vector>

#include "runtime/forms/objects.h"

namespace rt {

struct FileFilter {
  std::string description;            // the entry's whole text, shown in the dialog
  std::vector<std::string> patterns;  // the patterns between its parentheses
};

struct FileDialogRequest {
  bool save = false;
  ObjRef owner;  // null: the main window
  std::string title;
  std::string folder;               // full path of the initial folder
  std::string initial_name;         // shown in the name box, e.g. "*.cfg"
  std::vector<FileFilter> filters;  // the first is selected
  bool must_exist = true;           // open: the file must exist
  bool confirm_replace = true;      // save: ask before an existing file is replaced
};

// The buttons and the icon of a message box, numbered as the box's style is.
enum MessageBoxButtons : int {
  kButtonsOk = 0,
  kButtonsOkCancel = 1,
  kButtonsAbortRetryIgnore = 2,
  kButtonsYesNoCancel = 3,
  kButtonsYesNo = 4,
  kButtonsRetryCancel = 5,
};
enum MessageBoxIcon : int {
  kIconStop = 0,
  kIconQuestion = 1,
  kIconExclamation = 2,
  kIconInformation = 3,
  kIconNone = 4
};

struct MessageBoxRequest {
  ObjRef owner;
  std::string caption;
  std::string text;
  MessageBoxButtons buttons = kButtonsOk;
  MessageBoxIcon icon = kIconNone;
};

// Results of a message box.
enum MessageBoxResult : int {
  kOk = 0,
  kCancel = 1,
  kAbort = 2,
  kRetry = 3,
  kIgnore = 4,
  kYes = 5,
  kNo = 6
};

class Platform {
 public:
  virtual ~Platform() = default;

  // Windows and controls.
  virtual void form_created(Form& form) = 0;
  virtual void form_shown(Form& form, bool shown) = 0;
  virtual void form_destroyed(Form& form) = 0;
  virtual void control_changed(Control& control) = 0;  // text or check state set by the program
  virtual void picture_changed(Control& picture) = 0;  // its stored drawing changed
  // A menu check item's mark set by the program or toggled by the user's choice.
  virtual void menu_check_changed(const std::string& item, bool checked) {
    (void)item, (void)checked;
  }

  // Dialogs: the chosen full path, or nothing when the user cancelled.
  virtual std::optional<std::string> file_dialog(const FileDialogRequest& request) = 0;
  virtual int message_box(const MessageBoxRequest& request) = 0;
  // False when the clipboard could not be opened.
  virtual bool set_clipboard_text(const std::string& text) = 0;
  // The error report box (modal), or its text on standard error.
  virtual void show_error_report(const std::string& caption, const std::string& text) = 0;

  // Lets pending window messages through while a procedure runs: repaints, and user actions
  // that become queued events (never run here).
  virtual void process_pending() = 0;

  // Help > Manual: shows the program's manual (the desktop renders its built-in README).
  virtual void show_manual() {}
};

// The platform the current program was started on (runtime/state), or nullptr: then nothing
// is shown.
Platform* platform();

}  // namespace rt
