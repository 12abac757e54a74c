#pragma once
// The fit report: for each present slot its centre, width, FWHM, height, area and share of
// the total area with their standard deviations, and the figures of the fit as a whole. It
// describes the values behind the drawn curves (before the fields are rounded to one decimal).

#include <optional>
#include <string>
#include <vector>

#include "app/model/peak_model.h"
#include "app/workspace/fit_state.h"

namespace app {

// What a fit left: the model at its final values (weighted when the fit was), after Refine the
// covariance of the free values (p x p, row-major; empty after FITTING, whose report has no
// deviations), and the x of every point of the spectrum (the window the shares are summed
// over, and whose ends bound the centres).
struct FitRecord {
  std::string method;  // "refine" or "fitting"
  PeakModel model;
  std::vector<double> covariance;
  std::vector<double> window_x;
  // How the spectrum's background was found, for a raw load (record_fit takes it from the
  // workspace).
  std::optional<BackgroundRecord> background;
  // By slot entry: the component's name and its constraint items ("centre=fix width=A*1");
  // when empty, the constraints are the locks the model shows.
  std::vector<std::string> names, rules;
  // Whether the report lists species (a component with the partners linked to it by area).
  bool species = false;
};

// The flags a slot's line may carry, in the order they are listed.
inline constexpr const char* kCentreAtBound = "centre_at_bound";
inline constexpr const char* kWidthAtBound = "width_at_bound";
inline constexpr const char* kHeightZero = "height_zero";
inline constexpr const char* kCentreOutsideWindow = "centre_outside_window";
inline constexpr const char* kTailOutsideWindow = "tail_outside_window";

struct FitReportRow {
  int slot = 0;
  double centre = 0, width = 0, fwhm = 0, height = 0;
  // Over the whole axis; empty for a skewed slot, whose profile levels off instead of ending.
  std::optional<double> area;
  // Each slot's whole-axis area over their sum; empty on every line when any slot is skewed.
  std::optional<double> share_percent;
  // Point sums over the window, as "Ratio(%)" and the clipboard have them.
  std::optional<double> window_share_percent;
  // Empty for a locked parameter (and what rests on it alone), and all of them after FITTING.
  std::optional<double> centre_sd, width_sd, fwhm_sd, height_sd, area_sd, share_sd, window_share_sd;
  std::vector<std::string> locked;  // "centre", "width", "height" as locked
  std::vector<std::string> flags;
  std::string name;         // the component's name
  std::string constraints;  // its constraint items, blank-separated
};

// A component and the partners whose areas link to it, counted as one.
struct SpeciesRow {
  std::string name;     // the head component's name, else its letter
  std::string members;  // "A B"
  std::optional<double> area, area_sd, share_percent, share_sd;
};

struct FitReport {
  std::vector<FitReportRow> rows;
  std::size_t points = 0;
  int free_parameters = 0;
  double rss = 0;           // the plain sum of squared differences
  double chi2 = 0;          // sum of squared differences over sigma^2 (sigma 1 without weights)
  double reduced_chi2 = 0;  // chi2 / (points - free_parameters); NaN when that is not positive
  std::string weighting;    // "counts" or "none"
  std::string method;
  std::optional<BackgroundRecord> background;
  // The background's parameters when Refine fitted them with the peaks.
  struct BackgroundParameter {
    std::string name;
    double value = 0;
    std::optional<double> sd;
  };
  std::vector<BackgroundParameter> background_parameters;
  std::string background_form;      // "linear", "shirley" or "tougaard" when fitted with the peaks
  std::vector<SpeciesRow> species;  // listed when the record asks for them
  bool list_species = false;
};

FitReport make_fit_report(const FitRecord& record);

// The numbers of a slot's line, one row each, in the order of both the saved report's columns
// and the report window's grid (forms/report_grid.h, whose column 0 is the slot): the name in
// the saved report's header (nullptr: the window alone shows it) and the value (empty: an
// empty field).
struct ReportNumber {
  const char* csv_name;
  std::optional<double> (*value)(const FitReportRow& row);
};
inline constexpr int kReportNumbers = 14;
extern const ReportNumber kReportNumberColumns[kReportNumbers];

// The report's header line: slot, name, the numbers', constraints and flags.
std::string fit_report_header();

inline constexpr const char* kSpeciesHeader = "species,members,area,area_sd,share_percent,share_sd";

// The CSV lines: the header, one line per slot, an empty line, then key,value lines (after a
// raw load also the background's method, its ends and its parameters).
std::vector<std::string> fit_report_lines(const FitReport& report);

// A number as the report writes it: 9 significant digits, "inf" and "nan" as such.
std::string report_number(double value);
// A share's text: empty when it is undefined (NaN: every present peak has zero area).

// The last fit of the session, kept for the report window and "Save fit report".
void record_fit(FitRecord record);
const FitRecord* last_fit();
void forget_fit();

}  // namespace app
