#include "app/shell/startup.h"

#include "app/workspace/components.h"
#include "app/workspace/control_refs.h"
#include "app/workspace/counted_loop.h"
#include "app/workspace/peak_colours.h"
#include "app/workspace/peak_table.h"
#include "app/workspace/workspace.h"
#include "runtime/forms/objects.h"
#include "runtime/picture/picture_ops.h"

namespace app {

void STARTUP() {
  set_start_values(workspace());
  take_mainform_refs();

  auto& c = controls();
  c.form2 = rt::create_form("FORM2", true);
  c.form3 = rt::create_form("FORM3", true);
  c.form4 = rt::create_form("FORM4", false);
  take_form2_refs();

  for (int k = 1; k <= kSlots; ++k) rt::picture_set_colour(swatch_of(k), kPeakColours[k - 1]);
  // Painted line by line, all six swatches per row, in the swatch's drawing colour.
  counted_loop(0, 23, 1, [](float i) {
    for (int k = 1; k <= kSlots; ++k) {
      rt::LineCommand line;
      line.first = rt::PointF{0, i};
      line.second = rt::PointF{15, i};
      rt::picture_line(swatch_of(k), line);
    }
  });

  take_form3_refs();
  // The components G to T live in the "Components" window's fields: it exists, hidden, from
  // the start.
  c.form7 = rt::create_form("FORM7", false);
  take_form7_refs();
  sync_component_rows();
}

}  // namespace app
