#pragma once
// The measured value and the background under each point of the current spectrum. The fit
// works on the net values (YDATA = measured - background); the fit view shows all three.

#include <vector>

namespace app {

struct SpectrumLevels {
  bool loaded = false;                       // a spectrum has been stored since the program started
  std::vector<double> measured, background;  // per point, in XDATA's order
};

SpectrumLevels& spectrum_levels();

// The measured value and background of point i; a point the levels do not cover (they were not
// kept) counts its net value as measured over a background of 0.
struct PointLevels {
  double measured = 0, background = 0;
};
PointLevels point_levels(int i, double net);

}  // namespace app
