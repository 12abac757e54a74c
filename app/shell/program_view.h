#pragma once
// What the program shows, as plain values: the one way out for callers outside app/ (the
// batch, tests of the platform) that must read a result without knowing where the program
// keeps it. Taken whole at one moment; later events do not change a view already taken.

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "forms/peak_rows.h"

namespace app {

struct PeakRowView {
  // The fields' texts: centre, width and height as the table shows them, and "Ratio(%)".
  std::string centre, width, height, share;
  // The full values a fit keeps behind the centre, width and height texts (empty where the
  // text is all there is).
  std::array<std::optional<double>, 3> kept;
  bool present() const { return !centre.empty(); }
};

struct ProgramView {
  std::string file;           // the loaded spectrum's path; empty before any load
  std::optional<int> points;  // its number of points; empty before any load
  // Components A to T (the peak table's rows are A to F).
  std::array<PeakRowView, forms::kComponentRows> rows;
  int slots = forms::kPeakRows;  // six, or the highest component present when beyond six
  std::string total;             // the total of the shares, as its field shows it
  // The fit figure of the curves as last drawn (the fitted values before the redraw rounded
  // the fields); empty when no sweep would accept the Skip.
  std::optional<float> figure;
  // The last fit's report as "Save fit report" writes it, one CSV line each; empty before a
  // fit.
  std::vector<std::string> report_lines;
};

// How much of the view to take: the fields alone (file, points, rows, total), with the fit
// figure (a pass over the spectrum), or whole, the report included (making it costs more than
// the rest of a batch spectrum's summary).
enum class ViewExtent { Fields, WithFigure, Whole };

// The current program as its user would read it.
ProgramView view_program(ViewExtent extent = ViewExtent::Whole);

// The view's text that the control FORM.CONTROL shows: a row's centre, width, height or share
// field, or the total. nullptr for any other control, and for a window that is not open.
const std::string* text_shown_by(const ProgramView& view, const std::string& form,
                                 const std::string& control);

}  // namespace app
