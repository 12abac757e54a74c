#include "app/commands/component_commands.h"

#include <cctype>
#include <string>

#include "app/commands/peak_table_commands.h"
#include "app/graph/drawgraph.h"
#include "app/model/components_window.h"
#include "app/model/doublet.h"
#include "app/workspace/components.h"
#include "app/workspace/control_refs.h"
#include "app/workspace/error_locations.h"
#include "forms/peak_rows.h"
#include "runtime/errors/runtime_error.h"
#include "runtime/forms/control_values.h"

namespace app {

void COMPONENTS_ON() { show_components_window(); }
void SHOWCOMPONENTS_ON() { show_components_window(); }

void component_asymmetric_clicked(int k) {
  sync_component_rows();
  asymmetric_clicked(k);
  DRAWGRAPH();
}

void add_doublet() {
  sync_component_rows();
  DoubletRequest request;
  request.of = rt::get_text(COMPONENT_EDIT(forms::kDoubletOf));
  request.line = rt::get_text(COMPONENT_EDIT(forms::kDoubletLine));
  request.splitting = rt::get_text(COMPONENT_EDIT(forms::kDoubletSplitting));
  for (int i = 0; i < forms::kSplittingRows; ++i)
    request.table.push_back({rt::get_text(COMPONENT_EDIT(forms::kSplittingLine + i)),
                             rt::get_text(COMPONENT_EDIT(forms::kSplittingValue + i))});
  const DoubletResult result = make_doublet(request);
  if (!result.why.empty())
    rt::raise_error_with_detail(rt::kInvalidArgument, "Add doublet: " + result.why,
                                location(ComponentCheck::DoubletRefused));
  // What was made, under the grid.
  const int k = result.partner;
  rt::set_text(rt::find_control(controls().form7, "STATE"),
               std::string(1, component_label(k)) + " \"" + component_name(k) + "\": " +
                   constraint_text(k, Param::Centre) + ", " + constraint_text(k, Param::Height) +
                   ", width " + constraint_text(k, Param::Width));
  DRAWGRAPH();
}

}  // namespace app
