#include "platform/headless/script_driver.h"

#include <charconv>
#include <filesystem>
#include <istream>
#include <ostream>

#include "platform/headless/script_error.h"
#include "runtime/convert/integer_text.h"
#include "runtime/errors/error_report.h"
#include "runtime/errors/runtime_error.h"
#include "runtime/forms/control_values.h"
#include "runtime/forms/events.h"
#include "runtime/forms/objects.h"
#include "runtime/picture/picture_ops.h"

namespace headless {
namespace {

// Splits off the first word (up to a blank); the rest follows the single blank after it.
std::pair<std::string, std::string> split_word(const std::string& s) {
  auto blank = s.find(' ');
  if (blank == std::string::npos) return {s, ""};
  return {s.substr(0, blank), s.substr(blank + 1)};
}

bool blank_line(const std::string& s) { return s.find_first_not_of(" \t") == std::string::npos; }

float number(const std::string& word, const char* what) {
  float value = 0;
  const char* end = word.data() + word.size();
  auto [ptr, ec] = std::from_chars(word.data(), end, value);
  if (ec != std::errc() || ptr != end || word.empty())
    throw ScriptError(std::string("expected a number for ") + what + ", found \"" + word + "\"");
  return value;
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
  if (dot == std::string::npos) throw ScriptError("expected FORM.CONTROL, found \"" + qualified + "\"");
  rt::Form& form = form_named(qualified.substr(0, dot));
  rt::Control* control = form.control(qualified.substr(dot + 1));
  if (!control) throw ScriptError("unknown control \"" + qualified + "\"");
  return *control;
}

std::string hex6(std::uint32_t v) {
  static const char digits[] = "0123456789ABCDEF";
  std::string s(6, '0');
  for (int i = 5; i >= 0; --i, v >>= 4) s[i] = digits[v & 0xF];
  return s;
}

}  // namespace

ScriptDriver::ScriptDriver(HeadlessPlatform& platform, std::ostream& out, std::ostream& err)
    : platform_(platform), out_(out), err_(err) {}

int ScriptDriver::run(std::istream& script) {
  std::string line;
  int number = 0;
  while (!ended_ && std::getline(script, line)) {
    ++number;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (blank_line(line) || line.front() == '#') continue;
    try {
      perform(line);
    } catch (const ScriptError& e) {
      out_.flush();
      err_ << "tessaly: script line " << rt::decimal_text(number) << ": " << e.what() << '\n';
      return kScriptFailed;
    } catch (const rt::RuntimeError& e) {
      rt::report_error(e);  // raised by the line itself (a pixel far outside), not a procedure
    } catch (const rt::QuitRequested&) {
      ended_ = true;
    }
  }
  out_.flush();
  return rt::reported_error_count() > 0 ? kRanWithErrors : kRanClean;
}

void ScriptDriver::perform(const std::string& line) {
  auto [command, rest] = split_word(line);
  if (command == "set") set(rest);
  else if (command == "click") click(rest);
  else if (command == "check") check(rest);
  else if (command == "menu") menu(rest);
  else if (command == "mouse") mouse(rest);
  else if (command == "answer") answer(rest);
  else if (command == "print") print(rest);
  else if (command == "pixel") pixel(rest);
  else if (command == "clipboard") out_ << platform_.clipboard() << '\n';
  else if (command == "close") close(rest);
  else throw ScriptError("unknown command \"" + command + "\"");
  rt::run_pending_events();
  if (rt::quit_requested()) ended_ = true;
}

void ScriptDriver::set(const std::string& rest) {
  auto [name, text] = split_word(rest);
  rt::Control& c = control_named(name);
  if (c.kind() != rt::ElementKind::Edit) throw ScriptError(name + " is not an edit box");
  c.set_text(rt::limit_to_edit_box(c, text));
}

void ScriptDriver::click(const std::string& rest) {
  rt::Control& c = control_named(rest);
  switch (c.kind()) {
    case rt::ElementKind::Button:
      break;
    case rt::ElementKind::CheckBox:
      // A check box toggles itself before its event: checked becomes unchecked, any other
      // state (unchecked or grey) becomes checked.
      c.set_check_state(c.check_state() == 1 ? 0 : 1);
      break;
    default:
      rt::post_event(c.ref(), rt::EventKind::Click);
      return;
  }
  rt::post_event(c.ref(), rt::EventKind::On);
}

void ScriptDriver::check(const std::string& rest) {
  auto [name, state_text] = split_word(rest);
  rt::Control& c = control_named(name);
  if (c.kind() != rt::ElementKind::CheckBox) throw ScriptError(name + " is not a check box");
  if (state_text != "0" && state_text != "1" && state_text != "2")
    throw ScriptError("a check box state is 0, 1 or 2, not \"" + state_text + "\"");
  c.set_check_state(state_text[0] - '0');
}

void ScriptDriver::menu(const std::string& rest) {
  static const char* const kItems[] = {"openfile", "openraw",    "saveasgraphics", "saveastext",
                                        "about",    "refine",     "savereport",     "fitreport"};
  bool known = false;
  for (const char* item : kItems) known = known || rest == item;
  if (!known) throw ScriptError("unknown menu item \"" + rest + "\"");
  rt::post_menu_event(rest);
}

void ScriptDriver::mouse(const std::string& rest) {
  auto [action, coords] = split_word(rest);
  auto [xs, ys] = split_word(coords);
  rt::MouseData data{number(xs, "x"), number(ys, "y"), 0, 0};
  rt::EventKind kind;
  if (action == "down") {
    mouse_buttons_ = 1;
    kind = rt::EventKind::MouseDown;
  } else if (action == "move") {
    kind = rt::EventKind::MouseMove;
  } else if (action == "up") {
    kind = rt::EventKind::MouseUp;
  } else {
    throw ScriptError("mouse takes down, move or up, not \"" + action + "\"");
  }
  data.buttons = mouse_buttons_;
  if (action == "up") mouse_buttons_ = 0;
  rt::Control& picture = control_named("MAINFORM.PICTURE1");
  rt::post_event(picture.ref(), kind, data);
}

void ScriptDriver::answer(const std::string& rest) {
  auto [kind, path] = split_word(rest);
  if (kind == "file") {
    if (path.empty()) throw ScriptError("answer file needs a path");
    std::error_code ec;
    std::filesystem::path full = std::filesystem::absolute(path, ec);
    platform_.queue_answer({Answer::File, ec ? path : full.string()});
  } else if (kind == "cancel" && path.empty()) {
    platform_.queue_answer({Answer::Cancel, ""});
  } else if (kind == "yes" && path.empty()) {
    platform_.queue_answer({Answer::Yes, ""});
  } else if (kind == "no" && path.empty()) {
    platform_.queue_answer({Answer::No, ""});
  } else {
    throw ScriptError("answer takes file PATH, cancel, yes or no");
  }
}

void ScriptDriver::print(const std::string& rest) {
  if (rest.find('.') == std::string::npos) {
    if (rt::Form* form = rt::find_live_form(rest)) {
      out_ << (form->shown() ? "shown" : "hidden") << '\n';
    } else if (rt::find_form_definition(rest)) {
      out_ << "closed\n";
    } else {
      throw ScriptError("unknown window \"" + rest + "\"");
    }
    return;
  }
  rt::Control& c = control_named(rest);
  if (c.kind() == rt::ElementKind::CheckBox) out_ << rt::decimal_text(c.check_state()) << '\n';
  else out_ << c.text() << '\n';
}

void ScriptDriver::pixel(const std::string& rest) {
  auto [xs, ys] = split_word(rest);
  rt::Control& picture = control_named("MAINFORM.PICTURE1");
  std::uint32_t colour = rt::picture_pixel(picture.ref(), number(xs, "x"), number(ys, "y"));
  out_ << (colour == 0xFFFFFFFFu ? std::string("FFFFFFFF") : hex6(colour)) << '\n';
}

void ScriptDriver::close(const std::string& rest) {
  if (!rt::find_live_form(rest) && rt::find_form_definition(rest)) return;  // closed already
  rt::Form& form = form_named(rest);
  // The setting windows have no close button: a user cannot close them.
  if (!form.def().window.frame.system_menu) return;
  rt::close_form_by_user(form.ref());
}

}  // namespace headless
