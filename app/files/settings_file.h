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

// Asks for the file in a save dialog on the peak-setting window, then writes the settings file
// of the controls as they stand ("Save").
void save_settings_as();
// Reads the settings file at `path` into the controls. All 56 items are read before any
// control changes: a short or unreadable file raises its error and changes nothing.
void load_settings(const std::string& path);

// Asks for the file in an open dialog on the peak-setting window, then loads it ("Load"); a
// cancel changes nothing.
void load_settings_from_chosen_file();

}  // namespace app
