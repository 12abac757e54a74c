#include "app/shell/program_view.h"

#include <algorithm>

#include "app/fit/kai2.h"
#include "app/model/fit_report.h"
#include "app/workspace/components.h"
#include "app/workspace/control_refs.h"
#include "app/workspace/peak_table.h"
#include "app/workspace/spectrum_points.h"
#include "app/workspace/workspace.h"
#include "runtime/errors/runtime_error.h"
#include "runtime/forms/control_values.h"

namespace app {
namespace {

std::optional<float> figure_as_drawn() {
  try {
    const float skip = read_skip();
    if (!skip_usable(skip)) return std::nullopt;
    return figure_of_curves(skip);
  } catch (const rt::RuntimeError&) {
    return std::nullopt;  // a Skip that is not a number: no figure, as no sweep would run
  }
}

}  // namespace

ProgramView view_program(bool with_report) {
  ProgramView view;
  const Workspace& w = workspace();
  view.file = w.FILEPATH;
  // A load replaces the workspace all or nothing, the path included.
  if (!w.FILEPATH.empty()) view.points = point_count();
  view.slots = std::max(kSlots, component_count());
  for (int k = 1; k <= kComponents; ++k) {
    PeakRowView& row = view.rows[static_cast<std::size_t>(k - 1)];
    row.centre = rt::get_text(field_of(k, Param::Centre));
    row.width = rt::get_text(field_of(k, Param::Width));
    row.height = rt::get_text(field_of(k, Param::Height));
    row.share = rt::get_text(ratio_field_of(k));
    for (Param p : {Param::Centre, Param::Width, Param::Height})
      if (const KeptValue* kept = kept_value(k, p))
        row.kept[static_cast<std::size_t>(p)] = kept->value;
  }
  view.total = rt::get_text(EDIT(42));
  view.figure = figure_as_drawn();
  const FitRecord* fit = with_report ? last_fit() : nullptr;
  if (fit) view.report_lines = fit_report_lines(make_fit_report(*fit));
  return view;
}

}  // namespace app
