#pragma once
// The model curves over a long spectrum, which the workspace's curve arrays cannot hold: each
// present slot's profile at every point and their sum, by the arithmetic CALC_FITLINE uses.

#include <array>
#include <vector>

#include "app/workspace/long_spectrum.h"

namespace app {

struct LongModelCurves {
  std::array<std::vector<float>, 6> peaks;  // slot 1 to 6; zeros for a slot not present
  std::vector<float> sum;                   // added in slot order
  std::array<bool, 6> present{};
};

// From the peak table as it stands (the kept values behind the fields included). Raises what
// the profile raises for the fields (a width of 0...), as the redraw of a short spectrum does.
LongModelCurves long_model_curves(const LongSpectrum& s);

}  // namespace app
