#include "app/fit/reorder.h"

#include "app/workspace/peak_table.h"
#include "runtime/forms/control_values.h"

namespace app {
namespace {

constexpr Param kMoved[] = {Param::Centre, Param::Width, Param::Height};

void move_up(int from) {
  for (Param p : kMoved) rt::set_text(field_of(from - 1, p), rt::get_text(field_of(from, p)));
  for (Param p : kMoved) rt::set_text(field_of(from, p), "");
  move_kept_values(from, from - 1);
}

}  // namespace

void REORDER() {
  for (int k = 1; k <= kSlots - 1; ++k) {
    if (!rt::get_text(field_of(k, Param::Centre)).empty()) continue;
    for (int j = k + 1; j <= kSlots; ++j) move_up(j);
  }
}

}  // namespace app
