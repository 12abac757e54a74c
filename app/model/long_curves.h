#pragma once
// The model curves over a long spectrum, which the workspace's curve arrays cannot hold: each
// present component's profile at every point and their sum, by the arithmetic CALC_FITLINE uses.

#include <array>
#include <vector>

#include "app/workspace/long_spectrum.h"
#include "app/workspace/peak_table.h"

namespace app {

struct LongModelCurves {
  // Component 1 to 20; zeros for a component not present.
  std::array<std::vector<float>, kComponents> peaks;
  std::vector<float> sum;  // added in slot order
  std::array<bool, kComponents> present{};
};

// From the peak table as it stands (the kept values behind the fields included). Raises what
// the profile raises for the fields (a width of 0...), as the redraw of a short spectrum does.
LongModelCurves long_model_curves(const LongSpectrum& s);

}  // namespace app
