#include <string>
#include <vector>

#include "app/files/kept_value_lines.h"
#include "app/files/read_input_file.h"
#include "app/files/settings_file.h"
#include "app/workspace/control_refs.h"
#include "app/workspace/peak_table.h"
#include "runtime/dialogs/file_dialogs.h"
#include "runtime/files/file_channels.h"
#include "runtime/forms/control_values.h"
#include "runtime/forms/statement_pump.h"

namespace app {

void load_settings(const std::string& path) {
  // Every item is read by the string input, which ends an item at a comma or colon as at a
  // line end and drops the blanks around it. After the 56th item only the block of kept
  // values is looked for; whatever else follows, or fails to read, is ignored.
  std::vector<std::string> after;
  const std::vector<std::string> texts = read_input_file(path, [&](int file) {
    std::vector<std::string> items;
    for (int n = 0; n < kSettingsLines; ++n) {
      rt::count_statement();
      items.push_back(rt::read_text_field(file));
    }
    try {
      while (!rt::end_of_file(file) && after.size() <= kKeptValueItems) {
        after.push_back(rt::read_text_field(file));
        if (after.front() != kKeptValuesMark) break;
      }
    } catch (const rt::RuntimeError&) {
    }
    return items;
  });

  const auto items = settings_items();
  for (std::size_t n = 0; n < items.size(); ++n) {
    if (items[n].check_box)
      rt::set_check(items[n].control, texts[n] == "1" ? 1 : 0);
    else
      rt::set_text(items[n].control, texts[n]);
  }
  // The loaded texts replace every kept value, unless the file kept them itself.
  forget_kept_values();
  restore_kept_values(after);
}

void load_settings_from_chosen_file() {
  const std::string path = rt::open_file_dialog(controls().form2, "設定の読込", "*.cfg",
                                                "Config file(*.cfg);そのほか(*.*)", 0);
  if (path != rt::kCancelMark) load_settings(path);
}

}  // namespace app
