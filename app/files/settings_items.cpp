#include "app/files/settings_file.h"

#include "app/workspace/control_refs.h"

namespace app {

std::array<SettingsItem, kSettingsLines> settings_items() {
  std::array<SettingsItem, kSettingsLines> items;
  std::size_t n = 0;
  const auto check = [&](int number) { items.at(n++) = {true, CHECK(number)}; };
  const auto edit = [&](int number) { items.at(n++) = {false, EDIT(number)}; };

  check(1);  // X "User range"
  check(2);  // Y "User range"
  for (int number = 3; number <= 8; ++number) edit(number);  // ranges and steps
  for (int k = 1; k <= 6; ++k) {
    edit(11 + k);  // centre
    edit(17 + k);  // width
    edit(23 + k);  // height
  }
  for (int k = 1; k <= 6; ++k) check(17 + k);  // centre locks
  for (int k = 1; k <= 6; ++k) check(29 + k);  // height locks
  for (int k = 1; k <= 6; ++k) check(23 + k);  // width locks
  check(9);                                     // "As" of slot 1
  for (int k = 2; k <= 6; ++k) check(11 + k);  // "As" of slots 2 to 6
  for (int k = 1; k <= 6; ++k) edit(29 + k);   // "Alpha"
  return items;
}

}  // namespace app
