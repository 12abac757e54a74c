#pragma once
// What the workspace keeps beside the field texts and the net spectrum so that a fit's numbers
// survive the texts: the full doubles behind the peak fields, the measured values under the
// net spectrum, and whether fits weight by counting statistics. Plain values held inside the
// Workspace, so that a copy of the workspace captures them with everything else.

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "forms/peak_rows.h"

namespace app {

// The full double a fit found for one peak parameter, and the text its field showed when the
// value was written or rounded. The value stands behind the field only while the field still
// shows exactly that text; once the text differs (typing, "Make", "Load", a drag, "FITTING")
// the field's own text counts again.
struct KeptValue {
  double value = 0;
  std::string text;
  bool operator==(const KeptValue&) const = default;
};

// Kept values by component (index 0 for slot 1; slots 7 to 20 are the components G to T of the
// "Components" window) and parameter: centre, width, height, in the order
// of app::Param. Empty where the field's text is all there is.
inline constexpr int kKeptParams = 3;
using KeptPeakValues = std::array<std::array<std::optional<KeptValue>, kKeptParams>,
                                  static_cast<std::size_t>(forms::kComponentRows)>;

// The spectrum as measured, beside the net values YDATA the fit compares: measured[i] is point
// i's value before its background was subtracted (a record's measured-value column, a raw
// file's intensity), so that point's background is measured[i] - YDATA[i]. Counts, for a raw
// spectrum: the counting variance of point i is max(measured[i], 1). Empty before any load.
struct MeasuredSpectrum {
  std::vector<double> measured;
  bool operator==(const MeasuredSpectrum&) const = default;
};

// The "Raw spectrum" window's settings a raw load was made with, so that the same load can be
// made again (an analysis file keeps them): the window's ends (empty: open), the background and
// its kernel, the block, the ends' averaging and the excitation energy of a kinetic-energy file.
struct RawLoadSettings {
  std::optional<double> from, to;
  int end_points = 5;
  bool shirley = true;
  int block = 1;
  std::string block_name;  // the block by name instead of by number
  bool tougaard = false;
  std::optional<double> tougaard_b;  // empty: fitted to the high end
  double tougaard_c = 1643, tougaard_c_prime = 1, tougaard_d = 0;
  int low_offset = 0, high_offset = 0;
  std::optional<double> excitation_energy;
  bool operator==(const RawLoadSettings&) const = default;
};

// How a raw load found the background under the net spectrum, for the report: the method, its
// parameters and where the end levels were averaged (the x of the first and last averaged
// point at each end, the number averaged and the points skipped before them).
struct BackgroundRecord {
  std::string method;  // "linear", "shirley" or "tougaard"
  int end_points = 0, low_offset = 0, high_offset = 0;
  double low_from = 0, low_to = 0, high_from = 0, high_to = 0;
  double low_level = 0, high_level = 0;
  // Tougaard: the kernel and B, and whether B was fitted to the high end.
  double tougaard_b = 0, tougaard_c = 0, tougaard_c_prime = 0, tougaard_d = 0;
  bool tougaard_b_fitted = false;
  // Its kernel sums, one per spectrum point in index order (the background is low + B * sum).
  std::vector<double> tougaard_sums;
  std::vector<double> tougaard_unit_sums;  // the same sums of 1 (of y - low at y = low + 1)
  // Whether Refine fitted the background with the peaks since the load.
  bool fitted_with_peaks = false;
  // The excitation energy a kinetic-energy text file was converted with; 0 when none was.
  double excitation_energy = 0;
  // What the load was asked for.
  RawLoadSettings load;
  bool operator==(const BackgroundRecord&) const = default;
};

// The constraint cells' texts last accepted, by component and parameter (centre, width,
// height, alpha): a text refused when typed is put back from here.
using ComponentRuleTexts =
    std::array<std::array<std::string, 4>, static_cast<std::size_t>(forms::kComponentRows)>;

struct FitState {
  KeptPeakValues kept;
  ComponentRuleTexts rules;
  MeasuredSpectrum spectrum;
  // Fit > "Weight by counting statistics" (menu item `weightcounts`): Refine weights each point
  // by 1 / max(measured, 1). Set on by a raw load and off by a record load.
  bool weight_counts = false;
  // Fit > "Fit background with peaks" (menu item `activebackground`): Refine fits the raw
  // load's background together with the peaks.
  bool active_background = false;
  // Set by a raw load, empty after a record load.
  std::optional<BackgroundRecord> background;
  bool operator==(const FitState&) const = default;
};

}  // namespace app
