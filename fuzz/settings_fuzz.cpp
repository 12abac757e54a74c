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
#include "runtime/files/file_channels.h"
#include "runtime/forms/control_values.h"
#include "runtime/forms/objects.h"

namespace {

// "before <n>": made once, so that the harness does not cost more than the load it checks.
const std::string& known_text(int n) {
  static const std::vector<std::string> texts = [] {
    std::vector<std::string> out;
    for (int i = 0; i < 1000; ++i) out.push_back("before " + std::to_string(i));
    return out;
  }();
  return texts.at(static_cast<std::size_t>(n));
}

// Every control of every window: grey boxes (which a load never leaves) and numbered texts.
void set_known_controls() {
  int n = 0;
  for (rt::Form* form : rt::live_forms())
    for (const auto& c : form->controls()) {
      if (c->kind() == rt::ElementKind::CheckBox) c->set_check_state(2);
      if (c->kind() == rt::ElementKind::Edit) c->set_text(known_text(n));
      ++n;
    }
}

bool control_is_known(const rt::Control& c, int n) {
  if (c.kind() == rt::ElementKind::CheckBox && c.check_state() != 2) return false;
  if (c.kind() == rt::ElementKind::Edit && c.text() != known_text(n)) return false;
  return true;
}

bool in_settings(const rt::Control& c) {
  static const std::set<std::int32_t> ids = [] {
    std::set<std::int32_t> out;
    for (const app::SettingsItem& item : app::settings_items()) out.insert(item.control.id);
    return out;
  }();
  return ids.count(c.ref().id) != 0;
}

fuzz_support::MemoryFile& settings_file() {
  static fuzz_support::MemoryFile file("settings.cfg");
  return file;
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
  const int error = fuzz_support::load_from_memory(settings_file(), bytes, app::load_settings);

  // The 56 items as a plain reading of the bytes gives them.
  std::vector<std::string> items;
  int expected_error = 0;
  rt::MemorySource source(bytes);
  rt::FieldReader reader(source, bytes.size(), 0, bytes.size() + 1);
  try {
    while (items.size() < app::kSettingsLines)
      items.push_back(rt::cp932_to_utf8(reader.read_text()));
  } catch (const rt::RuntimeError& e) {
    expected_error = e.number();
  }
  if (error != expected_error) __builtin_trap();

  int n = 0;
  for (rt::Form* form : rt::live_forms())
    for (const auto& c : form->controls()) {
      if ((error != 0 || !in_settings(*c)) && !control_is_known(*c, n)) __builtin_trap();
      ++n;
    }
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
