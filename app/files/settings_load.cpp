#include <string>
#include <vector>

#include "app/files/settings_file.h"
#include "app/workspace/control_refs.h"
#include "runtime/dialogs/control_values.h"
#include "runtime/dialogs/file_dialogs.h"
#include "runtime/errors/runtime_error.h"
#include "runtime/files/file_channels.h"

namespace app {

void BUTTON23_ON() {
  const std::string path = rt::open_file_dialog(controls().form2, "設定の読込", "*.cfg",
                                                "Config file(*.cfg);そのほか(*.*)", 0);
  if (path == rt::kCancelMark) return;

  // Every item is read by the string input, which ends an item at a comma or colon as at a
  // line end and drops the blanks around it; lines after the 56th item are never read.
  std::vector<std::string> texts;
  rt::open_file(path, rt::OpenMode::Input, 1);
  try {
    for (int line = 0; line < kSettingsLines; ++line) texts.push_back(rt::read_text_field(1));
  } catch (const rt::RuntimeError&) {
    rt::close_file(1);
    throw;
  }
  rt::close_file(1);

  const auto items = settings_items();
  for (std::size_t n = 0; n < items.size(); ++n) {
    if (items[n].check_box)
      rt::set_check(items[n].control, texts[n] == "1" ? 1 : 0);
    else
      rt::set_text(items[n].control, texts[n]);
  }
}

}  // namespace app
