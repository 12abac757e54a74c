#pragma once
// The fit report: for each present slot its centre, width, FWHM, height, area and share of
// the total area with their standard deviations, and the figures of the fit as a whole. It
// describes the values behind the drawn curves (before the fields are rounded to one decimal).

#include <optional>
#include <string>
#include <vector>

#include "app/model/peak_model.h"

namespace app {

// What a fit left: the model at its final values and, after Refine, the covariance of the
// free values (p x p, row-major; empty after FITTING, whose report has no deviations).
struct FitRecord {
  std::string method;  // "refine" or "fitting"
  PeakModel model;
  std::vector<double> covariance;
};

struct FitReportRow {
  int slot = 0;
  double centre = 0, width = 0, fwhm = 0, height = 0, area = 0,
         share_percent = 0;  // share NaN: undefined
  // Empty for a locked parameter, and all of them after FITTING.
  std::optional<double> centre_sd, width_sd, height_sd, area_sd, share_sd;
};

struct FitReport {
  std::vector<FitReportRow> rows;
  std::size_t points = 0;
  int free_parameters = 0;
  double rss = 0;
  double reduced_chi2 = 0;  // rss / (points - free_parameters); NaN when that is not positive
  std::string method;
};

FitReport make_fit_report(const FitRecord& record);

// The CSV lines: the header, one line per slot, an empty line, then key,value lines.
std::vector<std::string> fit_report_lines(const FitReport& report);

// A number as the report writes it: 9 significant digits, "inf" and "nan" as such.
std::string report_number(double value);
// A share's text: empty when it is undefined (NaN: every present peak has zero area).
std::string share_text(double share_percent);

// The last fit of the session, kept for the report window and "Save fit report".
void record_fit(FitRecord record);
const FitRecord* last_fit();
void forget_fit();

}  // namespace app
