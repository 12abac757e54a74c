#pragma once
// The peak table and the spectrum as the fit figure sees them, read into a PeakModel: the
// points KAI2 compares (every Skip-th), the present slots in slot order with the values their
// fields read as, and as free the parameters whose lock is in state 0 (those FITTING scans).

#include <optional>
#include <vector>

#include "app/model/fit_report.h"
#include "app/model/peak_model.h"

namespace app {

// Reads the fields and the workspace. The Skip is taken as it is; the caller checks it.
PeakModel model_of_table(float skip);

// What the report says of each of the model's slots beyond numbers: the components' names,
// and, when any constraint cell holds a rule, their constraint items ("centre=fix width=A*1")
// and that the report lists species.
void describe_components(FitRecord& record);

// The measured value under each point model_of_table(skip) compares, in the same order;
// nothing for a point the load kept no measured value for.
std::vector<std::optional<double>> compared_measured_values(float skip);

// The x of every point of the spectrum, in index order: the window the report's shares sum over.
std::vector<double> spectrum_x();

// The spectrum's extent over all its points: the x range and the smallest gap between two
// distinct x values (0 when there are fewer than two distinct values).
struct SpectrumExtent {
  double x_min = 0, x_max = 0, smallest_spacing = 0;
};
SpectrumExtent spectrum_extent();

}  // namespace app
