#pragma once
// One line of an action script: something a user did (typed into a field, clicked, chose a
// menu command, used the mouse on the graph, answered a dialog, closed a window) or a look at
// what the program shows. The script driver reads and performs these lines; the desktop
// performs its user's actions through the same type and the session recorder writes them, so
// what is recorded is exactly what was done and replays the same.

#include <string>

#include "runtime/forms/form_definition.h"

namespace actions {

enum class ActionKind {
  Set,
  Click,
  Check,
  Menu,
  MouseDown,
  MouseMove,
  MouseUp,
  AnswerFile,
  AnswerCancel,
  AnswerYes,
  AnswerNo,
  Print,
  Pixel,
  Clipboard,
  Close,
};

// The picture that mouse and pixel lines speak of: the graph.
inline constexpr const char* kGraphPicture = "MAINFORM.PICTURE1";

struct UserAction {
  ActionKind kind = ActionKind::Clipboard;
  // FORM.CONTROL, FORM (print, close), the menu item's name, or the picture of a mouse or
  // pixel line (a mouse line always speaks of the graph; a pixel line may name any picture).
  std::string target;
  std::string text;    // set: the text as typed; answer file: the path
  int state = 0;       // check: 0, 1 or 2
  float x = 0, y = 0;  // mouse, pixel: pixels of the target picture
  bool operator==(const UserAction&) const = default;
};

UserAction make_action(ActionKind kind, std::string target = {}, std::string text = {});
UserAction make_point_action(ActionKind kind, float x, float y,
                             std::string picture = kGraphPicture);

// Reads one line (without its line end, not blank, not a comment). ScriptError for a line
// that is not an action.
UserAction parse_action(const std::string& line);
// The line that parse_action reads back as the same action.
std::string format_action(const UserAction& action);

// What performing an action needs beyond the run-time.
class ActionContext {
 public:
  virtual ~ActionContext() = default;
  // An answer for the next dialog (a file answer carries a full path).
  virtual void queue_answer(const UserAction& answer) = 0;
  // print, pixel and clipboard write one line each.
  virtual void write_line(const std::string& line) = 0;
  virtual std::string clipboard_text() = 0;
  // The button and key flags a mouse event carries (left 1, right 2, shift 4, control 8,
  // middle 16). A script has only the left button: held from down up to and including up.
  virtual int mouse_buttons(ActionKind kind);

 private:
  int held_ = 0;
};

// Performs the action as a user would; returns whether it queued an event. ScriptError for an
// unknown window, control or menu item, or a control of the wrong kind.
bool perform_action(const UserAction& action, ActionContext& context);

// What a click makes of a check box: a checked box is cleared, any other (grey included) checked.
int clicked_check_state(int state);

// Whether the menu holds a command item (not a pop-up title) of that name.
bool has_menu_command(const rt::MenuDef& menu, const std::string& item);
// A command that shows a check mark, toggled by each choice.
bool is_check_item(const rt::MenuDef& menu, const std::string& item);

// "FORM.CONTROL" for a control.
std::string qualified_name(const std::string& form, const std::string& control);

}  // namespace actions
