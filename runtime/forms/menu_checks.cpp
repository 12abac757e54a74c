#include "runtime/forms/menu_checks.h"

#include "runtime/forms/platform.h"
#include "runtime/state/runtime_state.h"

namespace rt {
namespace {
std::set<std::string>& checked_items() { return state().menu_checks; }
}  // namespace

bool menu_checked(const std::string& item) { return checked_items().contains(item); }

void set_menu_checked(const std::string& item, bool checked) {
  if (checked)
    checked_items().insert(item);
  else
    checked_items().erase(item);
  if (Platform* p = platform()) p->menu_check_changed(item, checked);
}

void reset_menu_checks() { checked_items().clear(); }

}  // namespace rt
