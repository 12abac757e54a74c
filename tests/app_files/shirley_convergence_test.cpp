// A Shirley background is used only once it has settled: a converged result is a fixed point of
// the Shirley map (checked by an independent step of that map), one that swings is reported as
// not converged, and a raw load refuses it with a message that says what to do.

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <random>
#include <string>
#include <vector>

#include "app/files/background.h"
#include "app/files/raw_spectrum.h"
#include "app/files/spectrum_load.h"
#include "app/workspace/workspace.h"
#include "files_fixture.h"

namespace files_test {
namespace {

struct Points {
  std::vector<double> x, y;
};

// One step of the Shirley map, written from the formula with the area taken from the high-x end:
// B(x) = low + (high - low) (A_total - A_right(x)) / A_total, on points given by rising x.
std::vector<double> shirley_step(const Points& p, const std::vector<double>& b, int ends) {
  const std::size_t n = p.x.size();
  double low = 0, high = 0;
  for (int i = 0; i < ends; ++i) low += p.y[static_cast<std::size_t>(i)] / ends;
  for (int i = 0; i < ends; ++i) high += p.y[n - 1 - static_cast<std::size_t>(i)] / ends;
  std::vector<double> right(n, 0.0);
  for (std::size_t i = n - 1; i-- > 0;)
    right[i] =
        right[i + 1] + 0.5 * ((p.y[i] - b[i]) + (p.y[i + 1] - b[i + 1])) * (p.x[i + 1] - p.x[i]);
  const double total = right[0];
  std::vector<double> next(n);
  for (std::size_t i = 0; i < n; ++i) next[i] = low + (high - low) * (total - right[i]) / total;
  return next;
}

double range_of(const std::vector<double>& y) {
  const auto [lo, hi] = std::minmax_element(y.begin(), y.end());
  return *hi - *lo;
}

// A C 1s region: a peak on an error-function step of 100 counts, 101 points from 280 to 290.
Points c1s() {
  Points p;
  for (int i = 0; i <= 100; ++i) {
    const double x = 280 + 0.1 * i;
    p.x.push_back(x);
    p.y.push_back(1000 + 100 / (1 + std::exp(-(x - 285) * 4)) +
                  800 * std::exp(-std::pow((x - 285) / 0.5, 2)));
  }
  return p;
}

TEST(ShirleyConvergence, ASettledBackgroundIsAFixedPointOfTheMap) {
  const Points p = c1s();
  const app::ShirleyBackground b = app::shirley_iterated(p.x, p.y, 5);
  ASSERT_TRUE(b.converged);
  EXPECT_LT(b.iterations, 20);
  const std::vector<double> next = shirley_step(p, b.values, 5);
  for (std::size_t i = 0; i < next.size(); ++i)
    EXPECT_NEAR(b.values[i], next[i], 1e-6 * range_of(p.y)) << "point " << i;
  // The plain function gives the same values.
  EXPECT_EQ(app::shirley_background(p.x, p.y, 5), b.values);
}

// A whole block that only falls, as a survey's background does between its peaks: the net area
// shrinks as B follows the data, and the iteration swings instead of settling.
TEST(ShirleyConvergence, AFallingBlockWithoutPeaksDoesNotSettle) {
  Points p;
  for (int i = 0; i <= 100; ++i) {
    p.x.push_back(0.1 * i);
    p.y.push_back(1000 - 5.0 * i);
  }
  const app::ShirleyBackground b = app::shirley_iterated(p.x, p.y, 5);
  EXPECT_FALSE(b.converged);
  EXPECT_EQ(b.iterations, app::kShirleyIterations);
}

// A sharp step with nothing on it creeps towards its fixed point (the change falls only as the
// inverse of the iteration): after the limit it is still moving, so it is not converged.
TEST(ShirleyConvergence, ABareStepStillCreepingAtTheLimitIsNotConverged) {
  const std::vector<double> x = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
  const std::vector<double> y = {10, 10, 10, 10, 10, 15, 20, 20, 20, 20, 20};
  EXPECT_FALSE(app::shirley_iterated(x, y, 3).converged);
}

// Random blocks: peaks of random places and sizes on steps, slopes and dips below the end
// levels. Whatever each gives, a result reported as converged is the map's fixed point; none
// is an arbitrary iterate.
TEST(ShirleyConvergence, EveryResultReportedAsConvergedIsAFixedPoint) {
  std::mt19937_64 random(20261210);
  std::uniform_real_distribution<double> unit(0, 1);
  int converged = 0, refused = 0;
  for (int round = 0; round < 200; ++round) {
    Points p;
    const int n = 50 + static_cast<int>(400 * unit(random));
    const double slope = 4000 * (unit(random) - 0.5), step = 3000 * (unit(random) - 0.3);
    const double dip = unit(random) < 0.3 ? 2000 * unit(random) : 0;
    std::vector<std::array<double, 3>> peaks(1 + static_cast<std::size_t>(6 * unit(random)));
    for (auto& peak : peaks) peak = {10 * unit(random), 0.2 + unit(random), 5000 * unit(random)};
    for (int i = 0; i < n; ++i) {
      const double x = 10.0 * i / (n - 1);
      double y = 3000 + slope * x / 10 + step / (1 + std::exp(-(x - 5) * 3)) -
                 dip * std::exp(-std::pow((x - 5) / 2, 2));
      for (const auto& peak : peaks) y += peak[2] * std::exp(-std::pow((x - peak[0]) / peak[1], 2));
      p.x.push_back(x);
      p.y.push_back(y);
    }
    const int ends = 1 + static_cast<int>(6 * unit(random));
    const app::ShirleyBackground b = app::shirley_iterated(p.x, p.y, ends);
    if (!b.converged) {
      ++refused;
      continue;
    }
    ++converged;
    const std::vector<double> next = shirley_step(p, b.values, ends);
    double worst = 0;
    for (std::size_t i = 0; i < next.size(); ++i)
      worst = std::max(worst, std::fabs(next[i] - b.values[i]));
    EXPECT_LE(worst, 1e-6 * range_of(p.y)) << "round " << round;
  }
  RecordProperty("converged", converged);
  RecordProperty("refused", refused);
  EXPECT_GT(converged, 100);
}

class ShirleyRefusal : public FilesTest {};

TEST_F(ShirleyRefusal, ARawLoadWhoseBackgroundDoesNotSettleIsRefusedWhole) {
  std::string falling;
  for (int i = 0; i <= 100; ++i)
    falling += std::to_string(0.1 * i) + "," + std::to_string(1000 - 5 * i) + "\n";
  write_bytes("falling.csv", falling);
  const ProgramState before = program_state();
  const auto weights_before = app::workspace().fit.weight_counts;
  app::RawSettings s;
  try {
    app::load_raw_spectrum(path("falling.csv"), s);
    ADD_FAILURE() << "loaded";
  } catch (const rt::RuntimeError& e) {
    EXPECT_EQ(e.number(), 5);
    EXPECT_NE(e.detail().find("Shirley background does not converge"), std::string::npos)
        << e.detail();
    EXPECT_NE(e.detail().find("narrower window"), std::string::npos) << e.detail();
    EXPECT_NE(e.detail().find("linear background"), std::string::npos) << e.detail();
  }
  EXPECT_SAME_STATE(before, program_state());
  EXPECT_EQ(app::workspace().fit.weight_counts, weights_before);
  // The straight line between the end levels loads the same points.
  s.shirley = false;
  EXPECT_EQ(run([&] { app::load_raw_spectrum(path("falling.csv"), s); }), 0);
  EXPECT_EQ(app::workspace().LASTPOINT, 100);
}

TEST_F(ShirleyRefusal, ARawLoadKeepsItsCountsAndWeightsThemARecordLoadDoesNot) {
  write_bytes("peak.csv", "x,y\n5,10\n4,15\n3,30\n2,15\n1,10\n");
  app::RawSettings s;
  s.end_points = 1;
  ASSERT_EQ(run([&] { app::load_raw_spectrum(path("peak.csv"), s); }), 0);
  const app::Workspace& w = app::workspace();
  EXPECT_EQ(w.fit.spectrum.measured, (std::vector<double>{10, 15, 30, 15, 10}));
  for (int i = 0; i <= w.LASTPOINT; ++i)  // the background is what measured less net leaves
    EXPECT_NEAR(w.fit.spectrum.measured[static_cast<std::size_t>(i)] - w.YDATA.at(i), 10, 1e-4);
  EXPECT_TRUE(w.fit.weight_counts);

  write_bytes("records.bgd", "3,40,10\r\n2,25,5\r\n1,12,-1\r\n");
  ASSERT_EQ(run([&] { app::load_spectrum(path("records.bgd")); }), 0);
  EXPECT_EQ(w.fit.spectrum.measured, (std::vector<double>{40, 25}));  // the kept records
  EXPECT_EQ(w.YDATA.at(0), 30);
  EXPECT_FALSE(w.fit.weight_counts);
}

}  // namespace
}  // namespace files_test
