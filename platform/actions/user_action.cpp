#include "platform/actions/user_action.h"

#include <charconv>
#include <filesystem>
#include <system_error>

#include "platform/actions/script_error.h"
#include "runtime/convert/integer_text.h"
#include "runtime/forms/control_values.h"
#include "runtime/forms/events.h"
#include "runtime/forms/menu_checks.h"
#include "runtime/forms/objects.h"
#include "runtime/picture/colour.h"
#include "runtime/picture/picture_ops.h"

namespace actions {
namespace {

// Splits off the first word (up to a blank); the rest follows the single blank after it.
std::pair<std::string, std::string> split_word(const std::string& s) {
  auto blank = s.find(' ');
  if (blank == std::string::npos) return {s, ""};
  return {s.substr(0, blank), s.substr(blank + 1)};
}

float number(const std::string& word, const char* what) {
  float value = 0;
  const char* end = word.data() + word.size();
  auto [ptr, ec] = std::from_chars(word.data(), end, value);
  if (ec != std::errc() || ptr != end || word.empty())
    throw ScriptError(std::string("expected a number for ") + what + ", found \"" + word + "\"");
  return value;
}

std::string number_text(float value) {
  char buffer[32];
  auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value);
  return ec == std::errc() ? std::string(buffer, end) : std::string("0");
}

// "X Y" of a mouse or pixel line, on the graph.
void read_point(const std::string& coords, UserAction& action) {
  auto [xs, ys] = split_word(coords);
  action.target = kGraphPicture;
  action.x = number(xs, "x");
  action.y = number(ys, "y");
}

rt::Form& form_named(const std::string& name) {
  rt::Form* form = rt::find_live_form(name);
  if (!form) {
    if (rt::find_form_definition(name)) throw ScriptError("the window " + name + " is closed");
    throw ScriptError("unknown window \"" + name + "\"");
  }
  return *form;
}

rt::Control& control_named(const std::string& qualified) {
  auto dot = qualified.find('.');
  if (dot == std::string::npos)
    throw ScriptError("expected FORM.CONTROL, found \"" + qualified + "\"");
  rt::Form& form = form_named(qualified.substr(0, dot));
  rt::Control* control = form.control(qualified.substr(dot + 1));
  if (!control) throw ScriptError("unknown control \"" + qualified + "\"");
  return *control;
}

// The menu of the main window, from its form definition.
const rt::MenuDef* main_menu() {
  rt::Form* main = nullptr;
  if (rt::form_exists(rt::main_form())) main = &rt::form_of(rt::main_form());
  if (!main || main->def().window.menu.empty()) return nullptr;
  return rt::find_menu_definition(main->def().window.menu);
}

bool perform_click(const UserAction& action) {
  rt::Control& c = control_named(action.target);
  switch (c.kind()) {
    case rt::ElementKind::Button:
      break;
    case rt::ElementKind::CheckBox:
      // A check box toggles itself before its event.
      c.user_set_check_state(clicked_check_state(c.check_state()));
      break;
    default:
      return rt::post_event(c.ref(), rt::EventKind::Click);
  }
  return rt::post_event(c.ref(), rt::EventKind::On);
}

bool perform_mouse(const UserAction& action, ActionContext& context) {
  rt::EventKind kind = action.kind == ActionKind::MouseDown   ? rt::EventKind::MouseDown
                       : action.kind == ActionKind::MouseMove ? rt::EventKind::MouseMove
                                                              : rt::EventKind::MouseUp;
  rt::MouseData data{action.x, action.y, context.mouse_buttons(action.kind), 0};
  return rt::post_event(control_named(action.target).ref(), kind, data);
}

void perform_print(const UserAction& action, ActionContext& context) {
  if (action.target.find('.') == std::string::npos) {
    if (rt::Form* form = rt::find_live_form(action.target)) {
      context.write_line(form->shown() ? "shown" : "hidden");
    } else if (rt::find_form_definition(action.target)) {
      context.write_line("closed");
    } else {
      throw ScriptError("unknown window \"" + action.target + "\"");
    }
    return;
  }
  rt::Control& c = control_named(action.target);
  context.write_line(c.kind() == rt::ElementKind::CheckBox ? rt::decimal_text(c.check_state())
                                                           : c.text());
}

void perform_close(const UserAction& action) {
  if (!rt::find_live_form(action.target) && rt::find_form_definition(action.target))
    return;  // closed already
  rt::Form& form = form_named(action.target);
  // A window with neither a close button nor the tool windows' hiding one cannot be closed.
  const rt::FrameStyle& frame = form.def().window.frame;
  if (!frame.system_menu && !frame.tool_window) return;
  rt::close_form_by_user(form.ref());
}

}  // namespace

UserAction make_action(ActionKind kind, std::string target, std::string text) {
  UserAction a;
  a.kind = kind;
  a.target = std::move(target);
  a.text = std::move(text);
  return a;
}

UserAction make_point_action(ActionKind kind, float x, float y, std::string picture) {
  UserAction a;
  a.kind = kind;
  a.target = std::move(picture);
  a.x = x;
  a.y = y;
  return a;
}

UserAction parse_action(const std::string& line) {
  auto [command, rest] = split_word(line);
  UserAction a;
  if (command == "set") {
    a.kind = ActionKind::Set;
    std::tie(a.target, a.text) = split_word(rest);
  } else if (command == "click") {
    a.kind = ActionKind::Click;
    a.target = rest;
  } else if (command == "check") {
    a.kind = ActionKind::Check;
    auto [name, state_text] = split_word(rest);
    if (state_text != "0" && state_text != "1" && state_text != "2")
      throw ScriptError("a check box state is 0, 1 or 2, not \"" + state_text + "\"");
    a.target = name;
    a.state = state_text[0] - '0';
  } else if (command == "menu") {
    a.kind = ActionKind::Menu;
    a.target = rest;
  } else if (command == "mouse") {
    auto [action, coords] = split_word(rest);
    if (action == "down")
      a.kind = ActionKind::MouseDown;
    else if (action == "move")
      a.kind = ActionKind::MouseMove;
    else if (action == "up")
      a.kind = ActionKind::MouseUp;
    else
      throw ScriptError("mouse takes down, move or up, not \"" + action + "\"");
    read_point(coords, a);
  } else if (command == "answer") {
    auto [kind, path] = split_word(rest);
    if (kind == "file" && !path.empty()) {
      a.kind = ActionKind::AnswerFile;
      a.text = path;
    } else if (kind == "file") {
      throw ScriptError("answer file needs a path");
    } else if (kind == "cancel" && path.empty()) {
      a.kind = ActionKind::AnswerCancel;
    } else if (kind == "yes" && path.empty()) {
      a.kind = ActionKind::AnswerYes;
    } else if (kind == "no" && path.empty()) {
      a.kind = ActionKind::AnswerNo;
    } else {
      throw ScriptError("answer takes file PATH, cancel, yes or no");
    }
  } else if (command == "print") {
    a.kind = ActionKind::Print;
    a.target = rest;
  } else if (command == "pixel") {
    a.kind = ActionKind::Pixel;
    // "pixel X Y" reads the graph; "pixel FORM.CONTROL X Y" any picture.
    auto [first, coords] = split_word(rest);
    if (first.find('.') != std::string::npos) {
      read_point(coords, a);
      a.target = first;
    } else {
      read_point(rest, a);
    }
  } else if (command == "clipboard") {
    a.kind = ActionKind::Clipboard;
  } else if (command == "close") {
    a.kind = ActionKind::Close;
    a.target = rest;
  } else {
    throw ScriptError("unknown command \"" + command + "\"");
  }
  return a;
}

std::string format_action(const UserAction& a) {
  switch (a.kind) {
    case ActionKind::Set:
      return "set " + a.target + (a.text.empty() ? "" : " " + a.text);
    case ActionKind::Click:
      return "click " + a.target;
    case ActionKind::Check:
      return "check " + a.target + " " + rt::decimal_text(a.state);
    case ActionKind::Menu:
      return "menu " + a.target;
    case ActionKind::MouseDown:
      return "mouse down " + number_text(a.x) + " " + number_text(a.y);
    case ActionKind::MouseMove:
      return "mouse move " + number_text(a.x) + " " + number_text(a.y);
    case ActionKind::MouseUp:
      return "mouse up " + number_text(a.x) + " " + number_text(a.y);
    case ActionKind::AnswerFile:
      return "answer file " + a.text;
    case ActionKind::AnswerCancel:
      return "answer cancel";
    case ActionKind::AnswerYes:
      return "answer yes";
    case ActionKind::AnswerNo:
      return "answer no";
    case ActionKind::Print:
      return "print " + a.target;
    case ActionKind::Pixel:
      return "pixel " + (a.target == kGraphPicture ? std::string() : a.target + " ") +
             number_text(a.x) + " " + number_text(a.y);
    case ActionKind::Clipboard:
      return "clipboard";
    case ActionKind::Close:
      return "close " + a.target;
  }
  return "";
}

int ActionContext::mouse_buttons(ActionKind kind) {
  if (kind == ActionKind::MouseDown) held_ = 1;
  const int buttons = held_;
  if (kind == ActionKind::MouseUp) held_ = 0;
  return buttons;
}

bool perform_action(const UserAction& a, ActionContext& context) {
  switch (a.kind) {
    case ActionKind::Set: {
      rt::Control& c = control_named(a.target);
      if (c.kind() != rt::ElementKind::Edit) throw ScriptError(a.target + " is not an edit box");
      c.user_set_text(rt::limit_to_edit_box(c, a.text));
      return false;
    }
    case ActionKind::Click:
      return perform_click(a);
    case ActionKind::Check: {
      rt::Control& c = control_named(a.target);
      if (c.kind() != rt::ElementKind::CheckBox)
        throw ScriptError(a.target + " is not a check box");
      c.set_check_state(a.state);
      return false;
    }
    case ActionKind::Menu: {
      const rt::MenuDef* menu = main_menu();
      if (!menu || !has_menu_command(*menu, a.target))
        throw ScriptError("unknown menu item \"" + a.target + "\"");
      if (is_check_item(*menu, a.target))
        rt::set_menu_checked(a.target, !rt::menu_checked(a.target));
      return rt::post_menu_event(a.target);
    }
    case ActionKind::MouseDown:
    case ActionKind::MouseMove:
    case ActionKind::MouseUp:
      return perform_mouse(a, context);
    case ActionKind::AnswerFile: {
      // As its line would be refused: an empty path names no file.
      if (a.text.empty()) throw ScriptError("answer file needs a path");
      // A relative path is taken against the current directory now, as a dialog would.
      std::error_code ec;
      std::filesystem::path full = std::filesystem::absolute(a.text, ec);
      UserAction answer = a;
      if (!ec) answer.text = full.string();
      context.queue_answer(answer);
      return false;
    }
    case ActionKind::AnswerCancel:
    case ActionKind::AnswerYes:
    case ActionKind::AnswerNo:
      context.queue_answer(a);
      return false;
    case ActionKind::Print:
      perform_print(a, context);
      return false;
    case ActionKind::Pixel: {
      if (control_named(a.target).kind() != rt::ElementKind::Picture)
        throw ScriptError(a.target + " is not a picture");
      const std::uint32_t colour = rt::picture_pixel(control_named(a.target).ref(), a.x, a.y);
      context.write_line(colour == rt::kNoPixel ? std::string("FFFFFFFF")
                                                : rt::six_hex_text(colour));
      return false;
    }
    case ActionKind::Clipboard:
      context.write_line(context.clipboard_text());
      return false;
    case ActionKind::Close:
      perform_close(a);
      return false;
  }
  return false;
}

int clicked_check_state(int state) { return state == 1 ? 0 : 1; }

bool has_menu_command(const rt::MenuDef& menu, const std::string& item) {
  struct Search {
    static bool in(const std::vector<rt::MenuItemDef>& items, const std::string& name) {
      for (const rt::MenuItemDef& i : items) {
        if (i.items.empty() ? i.name == name : in(i.items, name)) return true;
      }
      return false;
    }
  };
  return Search::in(menu.bar, item);
}

bool is_check_item(const rt::MenuDef& menu, const std::string& item) {
  struct Search {
    static bool in(const std::vector<rt::MenuItemDef>& items, const std::string& name) {
      for (const rt::MenuItemDef& i : items) {
        if (i.items.empty() ? i.name == name && i.check_item : in(i.items, name)) return true;
      }
      return false;
    }
  };
  return Search::in(menu.bar, item);
}

std::string qualified_name(const std::string& form, const std::string& control) {
  return form + "." + control;
}

}  // namespace actions
