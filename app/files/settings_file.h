#pragma once
// The settings file: 56 lines, one control of the peak-setting and graph-setting windows each.

#include <array>
#include <string>

#include "runtime/forms/objects.h"

namespace app {

inline constexpr int kSettingsLines = 56;

struct SettingsItem {
  bool check_box;  // a check box ("1" when checked, "0" otherwise), else a field's text
  rt::ObjRef control;
};

// The controls in the order of the file's lines. Note the lock block: centres, then heights,
// then widths, unlike the value triples (centre, width, height).
std::array<SettingsItem, kSettingsLines> settings_items();

// Writes the settings file of the controls as they stand to `path` ("Save").
void save_settings(const std::string& path);
// Reads the settings file at `path` into the controls. All 56 items are read before any
// control changes: a short or unreadable file raises its error and changes nothing.
void load_settings(const std::string& path);

}  // namespace app
