#include "app/graph/range_selection.h"

#include <string>

#include "app/workspace/control_refs.h"
#include "app/workspace/workspace.h"
#include "runtime/convert/arithmetic.h"
#include "runtime/convert/text_to_number.h"
#include "runtime/forms/control_values.h"

namespace app {

void select_range() {
  Workspace& w = workspace();
  if (rt::get_check(CHECK(1)) == 1) {
    const std::string left = rt::get_text(EDIT(3));
    if (!left.empty()) w.XMAX = rt::to_single(rt::val(left));
    const std::string right = rt::get_text(EDIT(4));
    if (!right.empty()) w.XMIN = rt::to_single(rt::val(right));
  } else {
    w.XMAX = w.DATAXMAX;
    w.XMIN = w.DATAXMIN;
  }
  if (rt::get_check(CHECK(2)) == 1) {
    const std::string top = rt::get_text(EDIT(7));
    if (!top.empty()) w.YMAX = rt::val(top);  // YMAX alone is held in double
    const std::string bottom = rt::get_text(EDIT(6));
    if (!bottom.empty()) w.YMIN = rt::to_single(rt::val(bottom));
  } else {
    w.YMAX = w.DATAYMAX;
    w.YMIN = w.DATAYMIN;
  }
}

}  // namespace app
