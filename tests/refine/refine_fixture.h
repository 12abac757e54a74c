#pragma once
// A started program with a synthetic spectrum of known peaks, for Refine's tests.

#include <cmath>
#include <random>
#include <vector>

#include "app/model/peak_profile.h"
#include "app/model/profile_derivatives.h"
#include "app/workspace/workspace.h"
#include "tests/fit/fit_fixture.h"
#include "tests/fit/recording_platform.h"

namespace refine_testing {

struct TruePeak {
  double centre, width, height;
};

// Two overlapping peaks on 301 points from 295 down to 280, as a C 1s region might look: far
// enough apart that the fit is close to linear within its deviations.
inline const std::vector<TruePeak> kTwoPeaks = {{285.0, 1.4, 1000}, {287.4, 1.6, 450}};

inline double truth_at(double x, const std::vector<TruePeak>& peaks) {
  const app::ProfileConstants k = app::ProfileConstants::for_mix(static_cast<double>(0.3f));
  double y = 0;
  for (const TruePeak& p : peaks) {
    app::PeakShape s;
    s.centre = p.centre;
    s.width = p.width;
    s.height = p.height;
    y += app::profile_value(x, s, k);
  }
  return y;
}

// Loads the peaks' sum with Gaussian noise of deviation `sigma` (none for 0).
inline void load_spectrum(const std::vector<TruePeak>& peaks, double sigma, std::mt19937_64& random,
                          int points = 301) {
  std::normal_distribution<double> noise(0, sigma > 0 ? sigma : 1);
  std::vector<float> x, y;
  for (int i = 0; i < points; ++i) {
    const double xi = 295 - 15.0 * i / (points - 1);
    x.push_back(static_cast<float>(xi));
    y.push_back(static_cast<float>(truth_at(static_cast<float>(xi), peaks) +
                                   (sigma > 0 ? sigma * noise(random) : 0)));
  }
  fit_testing::load_points(x, y);
  // The redraw that ends Refine needs ranges, as a load would leave them.
  app::Workspace& w = app::workspace();
  w.XMIN = w.DATAXMIN = 280;
  w.XMAX = w.DATAXMAX = 295;
  w.YMIN = w.DATAYMIN = -100;
  w.YMAX = w.DATAYMAX = 1200;
}

class RefineTest : public testing_support::ProgramTest {
 protected:
  RefineTest() : ProgramTest(&platform_) {}
  void SetUp() override { ProgramTest::SetUp(); }
  void TearDown() override { ProgramTest::TearDown(); }
  fit_testing::RecordingPlatform platform_;
};

}  // namespace refine_testing
