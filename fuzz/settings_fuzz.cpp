// Any bytes as a settings file, loaded over known controls: the load never crashes or hangs, a
// refused file changes no control, and an accepted one sets exactly the 56 controls of the file,
// each box to 0 or 1 and each field to its item as a plain reading of the bytes gives it.

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
