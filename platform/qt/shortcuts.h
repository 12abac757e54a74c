#pragma once
// The desktop's keyboard shortcuts. Each stands for what a user could do with the mouse: a
// menu command or a click on a button of a tool window, performed (and recorded) as that
// action. They work from every window of the program, since the peak table is where a user
// mostly is.

#include <map>
#include <string>

class QAction;
class QKeyEvent;
class QWidget;

namespace desktop {

struct Shortcut {
  const char* keys;    // as QKeySequence reads them, "Ctrl+O"
  const char* menu;    // a menu item's name, or null
  const char* button;  // FORM.CONTROL of a button, or null
};

// The shortcuts: Ctrl+O Open, Ctrl+S Save (the settings), F5 "FITTING", Ctrl+R Refine, Ctrl+E
// "export as TEXT", Ctrl+Z and Ctrl+Y undo and redo, Ctrl+Q Exit, F2 and F3 the two setting
// windows.
const std::map<std::string, Shortcut>& shortcuts();

// Whether the key is one of the program's shortcuts: an edit box then leaves it to the
// program (its own Ctrl+Z would undo only the box's typing, its Ctrl+E move the cursor).
bool is_program_shortcut(const QKeyEvent& key);

// Puts the menu items' shortcuts on their actions (so that the menu shows them) and adds the
// buttons' ones to the main window.
void install_shortcuts(QWidget& main_window, const std::map<std::string, QAction*>& menu_items);

}  // namespace desktop
