#pragma once
// A started program with a spectrum and a peak table put straight into the workspace and the
// fields, for the fit's tests.

#include <string>
#include <vector>

#include "app/workspace/control_refs.h"
#include "app/workspace/peak_table.h"
#include "app/workspace/workspace.h"
#include "runtime/forms/control_values.h"
#include "tests/support/program_fixture.h"

namespace fit_testing {

struct PeakRow {
  std::string centre, width, height;
  std::string alpha;  // used when asymmetric
  bool asymmetric = false;
  int centre_lock = 0, width_lock = 0, height_lock = 0;
};

inline void load_points(const std::vector<float>& x, const std::vector<float>& y) {
  app::Workspace& w = app::workspace();
  for (std::size_t i = 0; i < x.size(); ++i) {
    w.XDATA.at(static_cast<std::int32_t>(i)) = x[i];
    w.YDATA.at(static_cast<std::int32_t>(i)) = y[i];
  }
  w.LASTPOINT = static_cast<std::int16_t>(x.size()) - 1;
}

inline void set_row(int k, const PeakRow& row) {
  using app::Param;
  rt::set_text(app::field_of(k, Param::Centre), row.centre);
  rt::set_text(app::field_of(k, Param::Width), row.width);
  rt::set_text(app::field_of(k, Param::Height), row.height);
  rt::set_text(app::field_of(k, Param::Alpha), row.alpha);
  rt::set_check(app::asymmetric_box_of(k), row.asymmetric ? 1 : 0);
  rt::set_check(app::lock_of(k, Param::Centre), row.centre_lock);
  rt::set_check(app::lock_of(k, Param::Width), row.width_lock);
  rt::set_check(app::lock_of(k, Param::Height), row.height_lock);
}

inline std::string text_of(int k, app::Param p) { return rt::get_text(app::field_of(k, p)); }

// The 18 centre, width and height texts, slot by slot.
inline std::vector<std::string> peak_texts() {
  std::vector<std::string> out;
  for (int k = 1; k <= 6; ++k)
    for (app::Param p : {app::Param::Centre, app::Param::Width, app::Param::Height})
      out.push_back(text_of(k, p));
  return out;
}

}  // namespace fit_testing
