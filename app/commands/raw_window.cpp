#include "app/commands/raw_window.h"

#include <optional>
#include <string>
#include <vector>

#include "app/files/plain_number.h"
#include "app/files/raw_errors.h"
#include "app/workspace/workspace.h"
#include "runtime/dialogs/file_dialogs.h"
#include "runtime/errors/runtime_error.h"
#include "runtime/forms/control_values.h"
#include "runtime/forms/objects.h"

namespace app {
namespace {

// A new window with its start values: "Shirley" checked (a definition holds no check state).
rt::ObjRef create_raw_window() {
  const rt::ObjRef window = rt::create_form("FORM5", true);
  rt::set_check(rt::find_control(window, "CHECK1"), 1);
  return window;
}

// The window is found by name: it exists only once asked for, and the user may close it.
// Its control numbers (EDIT1, CHECK1, BUTTON1) repeat those of the other windows, so its
// controls are found by name too, not through the numbered references.
rt::ObjRef raw_window() {
  const rt::Form* form = rt::find_live_form("FORM5");
  return form ? form->ref() : create_raw_window();
}

rt::ObjRef field(const char* name) { return rt::find_control(raw_window(), name); }

std::string field_text(const char* name) {
  return std::string(trim_blanks(rt::get_text(field(name))));
}

[[noreturn]] void refuse(const char* what, const std::string& text, const char* expected) {
  throw raw_error(rt::kInvalidArgument, RawCheck::Setting,
                  std::string(what) + ": " + quoted(text) + " is not " + expected);
}

std::optional<double> optional_number(const char* name, const char* what) {
  const std::string text = field_text(name);
  if (text.empty()) return std::nullopt;
  const auto v = plain_number(text);
  if (!v) refuse(what, text, "a number");
  return v;
}

int whole_field(const char* name, const char* what) {
  const std::string text = field_text(name);
  const auto v = whole_number(text);
  if (!v || *v < 1 || *v > 1'000'000) refuse(what, text, "a whole number of 1 or more");
  return static_cast<int>(*v);
}

// Empty is 0: no point skipped.
int offset_field(const char* name, const char* what) {
  const std::string text = field_text(name);
  if (text.empty()) return 0;
  const auto v = whole_number(text);
  if (!v || *v < 0 || *v > 1'000'000) refuse(what, text, "a whole number of 0 or more");
  return static_cast<int>(*v);
}

// A number, or one of the usual anodes by name.
std::optional<double> excitation_field() {
  const std::string text = field_text("EDIT11");
  if (text.empty()) return std::nullopt;
  std::string key;
  for (char c : text)
    if (c != ' ' && c != '-') key += static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
  if (key == "al" || key == "alka") return 1486.6;
  if (key == "mg" || key == "mgka") return 1253.6;
  const auto v = plain_number(text);
  if (!v || !(*v > 0)) refuse("Excitation energy", text, "an energy above 0 eV, Al Ka or Mg Ka");
  return v;
}

// The loaded file's blocks, one row each, for the user to choose from.
void set_block_list(const std::vector<std::string>& rows) {
  std::string text;
  for (const std::string& row : rows) text += (text.empty() ? "" : "\n") + row;
  if (rt::Form* form = rt::find_live_form("FORM5"))
    if (rt::Control* list = form->control("LIST1")) rt::set_text(list->ref(), text);
}

}  // namespace

void show_raw_window() {
  if (const rt::Form* form = rt::find_live_form("FORM5"))
    rt::show_form(form->ref(), -1);
  else
    create_raw_window();
}

RawSettings raw_settings_from_window() {
  RawSettings s;
  s.from = optional_number("EDIT1", "X from");
  s.to = optional_number("EDIT2", "X to");
  s.end_points = whole_field("EDIT3", "Points at each end");
  s.shirley = rt::get_check(field("CHECK1")) == 1;
  // The block by number, or by its name as "Target" shows it ("C 1s").
  const std::string block = field_text("EDIT4");
  if (const auto n = whole_number(block);
      !n && !block.empty() && (block[0] < '0' || block[0] > '9'))
    s.block_name = block;
  else
    s.block = whole_field("EDIT4", "VAMAS block");
  s.tougaard = rt::get_check(field("CHECK2")) == 1;
  s.tougaard_b = optional_number("EDIT5", "Tougaard B");
  const TougaardKernel universal;
  s.kernel.c = optional_number("EDIT6", "Tougaard C").value_or(universal.c);
  s.kernel.c_prime = optional_number("EDIT7", "Tougaard C'").value_or(universal.c_prime);
  s.kernel.d = optional_number("EDIT8", "Tougaard D").value_or(universal.d);
  s.low_offset = offset_field("EDIT9", "Offset, low end");
  s.high_offset = offset_field("EDIT10", "Offset, high end");
  s.excitation_energy = excitation_field();
  check_raw_settings(s);
  return s;
}

void load_chosen_raw_spectrum() {
  // The fields are checked before the dialog, so that a mistyped field costs no file choice.
  const RawSettings settings = raw_settings_from_window();
  const std::string path =
      rt::open_file_dialog(raw_window(), "ファイルのオープン", "*.txt",
                           "テキスト(*.txt,*.csv,*.dat,*.xy);VAMAS(*.vms);そのほか(*.*)", 0);
  if (path == rt::kCancelMark)
    workspace().FILEPATH = path;
  else
    set_block_list(load_raw_spectrum(path, settings));
}

rt::ObjRef raw_window_control(const char* name) { return field(name); }
bool raw_window_exists() { return rt::find_live_form("FORM5") != nullptr; }

}  // namespace app
