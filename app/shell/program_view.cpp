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
#include "runtime/forms/objects.h"

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

ProgramView view_program(ViewExtent extent) {
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
  if (extent == ViewExtent::Fields) return view;
  view.figure = figure_as_drawn();
  const FitRecord* fit = extent == ViewExtent::Whole ? last_fit() : nullptr;
  if (fit) view.report_lines = fit_report_lines(make_fit_report(*fit));
  return view;
}

const std::string* text_shown_by(const ProgramView& view, const std::string& form,
                                 const std::string& control) {
  const rt::Form* live = rt::find_live_form(form);
  if (!live) return nullptr;
  const rt::Control* c = live->control(control);
  if (!c) return nullptr;
  const rt::ObjRef ref = c->ref();
  if (ref == EDIT(42)) return &view.total;
  for (int k = 1; k <= kComponents; ++k) {
    const PeakRowView& row = view.rows[static_cast<std::size_t>(k - 1)];
    if (ref == field_of(k, Param::Centre)) return &row.centre;
    if (ref == field_of(k, Param::Width)) return &row.width;
    if (ref == field_of(k, Param::Height)) return &row.height;
    if (ref == ratio_field_of(k)) return &row.share;
  }
  return nullptr;
}

}  // namespace app
