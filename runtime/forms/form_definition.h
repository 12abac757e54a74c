#pragma once
// What a form definition holds: the window and its controls as data, which the run-time reads
// to create the window. The program's four forms and its menu are in forms/.

#include <cstdint>
#include <string>
#include <vector>

namespace rt {

enum class ElementKind : int {
  Window = 0,
  Button = 3,
  CheckBox = 5,
  Edit = 7,
  Label = 8,
  // Rows to choose from: its text holds them, one a line. A choice types the chosen row's
  // number (from 1) into its target edit box, as if the user had typed it there.
  List = 9,
  Picture = 13
};

// Event kinds; the number is the kind, the suffix forms the event name.
enum class EventKind : int {
  InitMenu = 0,
  On = 1,
  Change = 2,
  Start = 3,
  End = 4,
  SetFocus = 5,
  KillFocus = 6,
  Resize = 7,
  Click = 8,
  DblClick = 9,
  MouseDown = 10,
  MouseUp = 11,
  MouseMove = 12,
  Updated = 13,
  Done = 14,
  Timer = 15,
  AbortDoc = 16,
  QueryClose = 17,
  NotifyIcon = 18,
  DropFiles = 19,
  MouseWheel = 20,
};
const char* event_suffix(EventKind kind);

struct Rect {
  int left = 0, top = 0, width = 0, height = 0;
};

struct FontDef {
  std::string face;
  int size =
      0;  // points for buttons, check boxes, edit boxes and labels; pixels for windows and pictures
  bool bold = false, italic = false, underline = false, strike_out = false;
  int charset = 128;  // the Japanese character set
};

// A window's frame: which of the title bar's boxes it has.
struct FrameStyle {
  bool system_menu = false;  // the close button
  bool minimize_box = false;
  bool maximize_box = false;
  bool sizing_border = true;
  // A tool window: it stays above the main window, and its close button only hides it (the
  // main window's Window menu shows it again).
  bool tool_window = false;
};

struct ElementDef {
  ElementKind kind = ElementKind::Label;
  std::string name;     // at most 21 characters, unique within its form
  std::string caption;  // window title, control text, or an edit box's initial text
  Rect rect;            // windows: outer frame in screen pixels; controls: client pixels
  FontDef font;
  // Controls: 24-bit text and background colours (0x00BBGGRR).
  std::uint32_t text_colour = 0x000000, back_colour = 0xFFFFFF;
  // Windows and pictures: palette indices 0-15 for text, drawing and background.
  int text_index = 0, draw_index = 0, back_index = 15;
  int edit_limit = 0;             // edit boxes: the most characters the user may type
  std::string list_target;        // list boxes: the edit box of the same form a choice fills
  int coordinate_mode = 0;        // windows and pictures: 1 = pixels
  bool persistent = false;        // windows and pictures: drawings are kept and repainted
  FrameStyle frame;               // windows only
  int window_option = 0;          // windows only: the run-time window option
  std::string menu;               // windows only: menu definition to attach
  std::vector<EventKind> events;  // the events the element raises
};

struct FormDef {
  ElementDef window;
  std::vector<ElementDef> controls;
};

struct MenuItemDef {
  std::string name;  // forms the event name: upper case + "_ON"
  std::string caption;
  int command = 0;  // command number (256 upward); pop-up titles carry their position
  std::vector<MenuItemDef> items;  // non-empty for a pop-up
  bool check_item = false;         // shows a check mark that each choice toggles
};

struct MenuDef {
  std::string name;
  std::vector<MenuItemDef> bar;
};

// The definitions the run-time creates forms from, looked up by name. The program installs them
// once at start.
void install_form_definitions(std::vector<const FormDef*> forms, std::vector<const MenuDef*> menus);
const FormDef* find_form_definition(const std::string& name);
const MenuDef* find_menu_definition(const std::string& name);

}  // namespace rt
