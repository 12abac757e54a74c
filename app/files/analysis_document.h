#pragma once
// The analysis file as a value: everything a session needs to be taken up again, the spectrum's
// source and how it was loaded, every component, the fit's settings, the graph's and the last
// fit. Read and checked whole before anything of the program changes (analysis_json.h), and
// written from the program as it stands (analysis_file.h).

#include <optional>
#include <string>
#include <vector>

#include "app/model/fit_report.h"
#include "app/workspace/fit_state.h"

namespace app {

// The version this program writes; it reads this one and every earlier one.
inline constexpr int kAnalysisVersion = 1;

// A centre, width or height: its field's text, the number behind it (the full value a fit kept,
// else what the text reads as; empty when the text reads as no finite number), whether that
// number is a kept one, its lock box and its constraint cell.
struct AnalysisParameter {
  std::string text;
  std::optional<double> value;
  bool kept = false;
  int lock = 0;
  std::string constraint;
  bool operator==(const AnalysisParameter&) const = default;
};

struct AnalysisComponent {
  std::string label;  // "A" for the first
  std::string name;
  AnalysisParameter centre, width, height;
  std::string alpha, alpha_constraint;
  int asymmetric = 0;  // the "As" box
  int row_lock = 0;
  std::string ratio;  // "Ratio(%)" as shown
  bool operator==(const AnalysisComponent&) const = default;
};

// The spectrum: where it came from (relative to the document; empty for none loaded), how, and
// the points and ranges as the session held them (after "Collect" or a background fitted with
// the peaks they differ from what the file gives).
struct AnalysisSpectrum {
  std::string path;
  bool raw = false;
  RawLoadSettings raw_load;
  // A raw load's background as the session had it, without its kernel sums (the load gives them).
  std::optional<BackgroundRecord> background;
  std::vector<float> x, net;
  float xmin = 0, xmax = 0, ymin = 0, data_xmin = 0, data_xmax = 0, data_ymin = 0;
  double ymax = 0, data_ymax = 0;
  std::string target;  // "Target" as shown
  bool operator==(const AnalysisSpectrum&) const = default;
};

// FORM3's fields and boxes.
struct AnalysisGraph {
  int x_user_range = 0, y_user_range = 0;
  std::string x_from, x_to, x_step, y_from, y_to, y_step;
  bool operator==(const AnalysisGraph&) const = default;
};

// The "Raw spectrum" window's fields as the session left them, when it had the window.
struct AnalysisRawWindow {
  bool shown = false;
  std::string x_from, x_to, end_points, block, tougaard_b, tougaard_c, tougaard_c_prime, tougaard_d,
      low_offset, high_offset, excitation_energy;
  int shirley = 0, tougaard = 0;
  bool operator==(const AnalysisRawWindow&) const = default;
};

struct AnalysisDocument {
  int version = kAnalysisVersion;
  AnalysisSpectrum spectrum;
  std::vector<AnalysisComponent> components;
  // The peak-setting window's other fields.
  std::string total, position_x, position_y, x_axis_shift;
  int centre_column_lock = 0, width_column_lock = 0, height_column_lock = 0;
  // The fit's settings.
  double mixing_ratio = 0;
  std::string skip;
  bool weight_counts = false, active_background = false;
  AnalysisGraph graph;
  std::optional<AnalysisRawWindow> raw_window;
  // The last fit, from which its report is made again; and that report's lines as saved, for
  // whoever reads the file (opening makes the report from the fit).
  std::optional<FitRecord> last_fit;
  std::vector<std::string> report;
};

}  // namespace app
