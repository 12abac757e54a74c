#pragma once
// The check marks of the menu's check items. The run-time owns them as it owns every control
// value; the platform shows them. A user's choice of a check item toggles its mark first, as a
// click toggles a check box, and then raises the item's event.

#include <string>

namespace rt {

bool menu_checked(const std::string& item);
// Tells the platform, which shows the new mark.
void set_menu_checked(const std::string& item, bool checked);
// Every mark cleared (start of a run).
void reset_menu_checks();

}  // namespace rt
