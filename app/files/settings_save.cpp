#include "app/files/kept_value_lines.h"
#include "app/files/replacing_text_save.h"
#include "app/files/settings_file.h"
#include "runtime/forms/control_values.h"

namespace app {

void save_settings(const std::string& path) {
  std::vector<std::string> lines;
  for (const SettingsItem& item : settings_items()) {
    // A grey box is saved as unchecked.
    if (item.check_box)
      lines.push_back(rt::get_check(item.control) == 1 ? "1" : "0");
    else
      lines.push_back(rt::get_text(item.control));
  }
  for (std::string& line : kept_value_lines()) lines.push_back(std::move(line));
  save_text_lines(path, lines);
}

}  // namespace app
