#include "app/files/settings_file.h"

#include "app/workspace/control_refs.h"
#include "app/workspace/peak_table.h"
#include "forms/peak_rows.h"

namespace app {

std::array<SettingsItem, kSettingsLines> settings_items() {
  std::array<SettingsItem, kSettingsLines> items;
  std::size_t n = 0;
  const auto check = [&](int number) { items.at(n++) = {true, CHECK(number)}; };
  const auto edit = [&](int number) { items.at(n++) = {false, EDIT(number)}; };

  check(1);                                                  // X "User range"
  check(2);                                                  // Y "User range"
  for (int number = 3; number <= 8; ++number) edit(number);  // ranges and steps
  for (int k = 1; k <= kSlots; ++k) {
    edit(forms::peak_row(k).centre);
    edit(forms::peak_row(k).width);
    edit(forms::peak_row(k).height);
  }
  for (int k = 1; k <= kSlots; ++k) check(forms::peak_row(k).centre_lock);
  for (int k = 1; k <= kSlots; ++k) check(forms::peak_row(k).height_lock);
  for (int k = 1; k <= kSlots; ++k) check(forms::peak_row(k).width_lock);
  for (int k = 1; k <= kSlots; ++k) check(forms::peak_row(k).asymmetric);
  for (int k = 1; k <= kSlots; ++k) edit(forms::peak_row(k).alpha);
  return items;
}

}  // namespace app
