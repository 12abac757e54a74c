// Any bytes as a settings file, loaded over known controls: the load never crashes or hangs, a
// file that is not a settings file is refused, a refused file changes no control, and an
// accepted one sets exactly the 56 controls of the file, each box to 0 or 1 and each field to
// its item as a plain reading of the bytes gives it.

#include <cstddef>
#include <cstdint>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "app/files/settings_file.h"
#include "app/shell/session.h"
#include "app/workspace/control_refs.h"
#include "fuzz/memory_file.h"
#include "runtime/convert/cp932.h"
#include "runtime/convert/text_to_number.h"
#include "runtime/errors/runtime_error.h"
#include "runtime/files/field_reader.h"
#include "runtime/forms/control_values.h"
#include "runtime/forms/objects.h"

namespace {

const std::string kPath = "/fuzz/settings.cfg";

// A check box or text box of a window, with the value the harness gives it before each load
// and whether the settings file holds it.
struct KnownControl {
  rt::Control* control;
  bool check_box;
  std::string text;  // "before <n>" for a text box
  bool in_settings;
};

// Every window's check and text boxes, listed once: the windows live as long as the session,
// and the harness must not cost more than the load it checks.
const std::vector<KnownControl>& known_controls() {
  static const std::vector<KnownControl> controls = [] {
    std::set<std::int32_t> settings_ids;
    for (const app::SettingsItem& item : app::settings_items())
      settings_ids.insert(item.control.id);
    std::vector<KnownControl> out;
    int n = 0;
    for (rt::Form* form : rt::live_forms())
      for (const auto& c : form->controls()) {
        const bool box = c->kind() == rt::ElementKind::CheckBox;
        if (box || c->kind() == rt::ElementKind::Edit)
          out.push_back({c.get(), box, box ? "" : "before " + std::to_string(n),
                         settings_ids.count(c->ref().id) != 0});
        ++n;
      }
    return out;
  }();
  return controls;
}

bool control_is_known(const KnownControl& k) {
  return k.check_box ? k.control->check_state() == 2 : k.control->text() == k.text;
}

// Grey boxes (which a load never leaves) and numbered texts; only what the last load changed
// is set again.
void set_known_controls() {
  for (const KnownControl& k : known_controls()) {
    if (control_is_known(k)) continue;
    if (k.check_box)
      k.control->set_check_state(2);
    else
      k.control->set_text(k.text);
  }
}

// Whether every control outside the file (and, after a refused load, every control) still
// holds what the harness gave it.
bool only_settings_changed(bool refused) {
  for (const KnownControl& k : known_controls())
    if ((refused || !k.in_settings) && !control_is_known(k)) return false;
  return true;
}

// What a settings file is: its first 56 lines each hold one item (no comma, colon or quotation
// mark), every check box item is 0, 1 or 2 and every field item is empty or wholly a number.
bool is_settings_file(std::string_view bytes, const std::vector<std::string>& items) {
  std::size_t start = 0;
  for (int line = 1; line <= app::kSettingsLines; ++line) {
    if (start >= bytes.size()) return false;
    std::size_t end = bytes.find_first_of("\r\n", start);
    if (end == std::string_view::npos) end = bytes.size();
    if (bytes.substr(start, end - start).find_first_of(",:\"") != std::string_view::npos)
      return false;
    if (end + 1 < bytes.size() && bytes[end] == '\r' && bytes[end + 1] == '\n') ++end;
    start = end + 1;
  }
  const auto table = app::settings_items();
  for (std::size_t i = 0; i < table.size(); ++i) {
    const std::string& item = items[i];
    if (table[i].check_box) {
      if (item != "0" && item != "1" && item != "2") return false;
    } else if (!item.empty()) {
      try {
        if (rt::scan_number(item).length != item.size()) return false;
      } catch (const rt::RuntimeError&) {
        return false;
      }
    }
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  static app::Session session;
  session.start();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  set_known_controls();
  const int error = fuzz_support::load_from_memory(kPath, bytes, app::load_settings);

  // The 56 items as a plain reading of the bytes gives them.
  std::vector<std::string> items;
  int expected_error = 0;
  rt::MemorySource source(bytes);
  rt::FieldReader reader(source, bytes.size(), 0, bytes.size() + 1);
  items.reserve(app::kSettingsLines);
  try {
    while (items.size() < app::kSettingsLines) {
      if (reader.at_end()) {  // what reading on would raise, without the cost of raising it
        expected_error = rt::kReadPastEnd;
        break;
      }
      items.push_back(rt::cp932_to_utf8(reader.read_text()));
    }
  } catch (const rt::RuntimeError& e) {
    expected_error = e.number();
  }
  if (expected_error == 0 && !is_settings_file(bytes, items)) expected_error = rt::kInvalidArgument;
  if (error != expected_error) __builtin_trap();

  if (!only_settings_changed(error != 0)) __builtin_trap();
  if (error != 0) return 0;
  const auto table = app::settings_items();
  for (std::size_t i = 0; i < table.size(); ++i) {
    if (table[i].check_box) {
      if (rt::get_check(table[i].control) != (items[i] == "1" ? 1 : 0)) __builtin_trap();
    } else if (rt::get_text(table[i].control) != items[i]) {
      __builtin_trap();
    }
  }
  return 0;
}
