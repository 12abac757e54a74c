// The peak profile and the model curves: reference values, the errors a bad shape raises, the
// zeros of vanishing tails, and the batch arithmetic of the engine against the scalar one.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>

#include "app/model/calc_fitline.h"
#include "app/model/peak_profile.h"
#include "app/model/profile_batch.h"
#include "app/workspace/peak_curves.h"
#include "tests/fit/fit_fixture.h"
#include "tests/support/run_time_errors.h"

namespace {

using app::PeakShape;
using fit_testing::PeakRow;

const app::ProfileConstants kMix = app::ProfileConstants::for_mix(static_cast<double>(0.3f));

float value_at(float x, const PeakShape& s) {
  return app::peak_value(x, s, app::width_squared(s), kMix);
}

// The profile's own exponential stays within one unit in the last place of the library's, is
// exactly 1 at 0 (a peak is exactly its height at its centre) and infinite past the double
// range.
TEST(ProfileExp, CloseToTheLibraryEverywhereItIsUsed) {
  EXPECT_EQ(app::profile_exp(0), 1.0);
  EXPECT_EQ(app::profile_exp(709.79), HUGE_VAL);
  EXPECT_EQ(app::profile_exp(1e30), HUGE_VAL);
  std::mt19937_64 rng(3);
  std::uniform_real_distribution<double> unit(0, 1);
  for (int n = 0; n < 200000; ++n) {
    const double g = n % 2 ? 709.78 * unit(rng) : 5 * unit(rng);
    const double ours = app::profile_exp(g), library = std::exp(g);
    ASSERT_LE(std::fabs(ours - library), std::nextafter(library, HUGE_VAL) - library) << g;
  }
}

TEST(PeakProfile, ReferenceValues) {
  const PeakShape symmetric{285, 1.5, 1000, 0, false};
  const PeakShape skewed{285, 1.5, 1000, 0.2, true};
  struct Row {
    const PeakShape* shape;
    float x;
    double expected;
  } rows[] = {
      {&symmetric, 285, 1000}, {&symmetric, 285.75f, 473.52}, {&symmetric, 286, 275.26},
      {&skewed, 285, 1000},    {&skewed, 286, 361.01},        {&skewed, 284, 185.46},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.x);
    EXPECT_NEAR(value_at(r.x, *r.shape), r.expected, 0.006);
  }
  EXPECT_EQ(value_at(285, symmetric), 1000.0f);  // L = 1 and G = 0 at the centre: exactly h
  // Only w^2 enters the symmetric profile.
  EXPECT_EQ(value_at(286.3f, symmetric), value_at(286.3f, PeakShape{285, -1.5, 1000, 0, false}));
}

TEST(PeakProfile, BadShapesRaiseTheirErrors) {
  expect_error(11, [] { value_at(286, PeakShape{285, 0, 100, 0, false}); });
  expect_error(5, [] { value_at(285, PeakShape{285, 0, 100, 0, false}); });    // 0/0 at the centre
  expect_error(11, [] { value_at(284, PeakShape{285, 1, 100, 1, true}); });    // 1 + a*d/w = 0
  expect_error(6, [] { value_at(0, PeakShape{1e300, 1, 100, 0, false}); });    // d beyond a single
  expect_error(6, [] { value_at(285, PeakShape{285, 1, 1e300, 0, false}); });  // the value itself
}

TEST(PeakProfile, FarTailsAreZerosNotErrors) {
  // e^G beyond the double range (symmetric), L beyond the single range (a skew divisor close to
  // 0), G clamped at 200 on the stretched side: the true value is far below any single.
  EXPECT_EQ(value_at(300, PeakShape{285, 0.001, 1000, 0, false}), 0.0f);
  EXPECT_EQ(value_at(300, PeakShape{285, 0.001, -1000, 0, false}), 0.0f);
  EXPECT_EQ(value_at(284.0000001f, PeakShape{285, 1, 1000, 0.99999994, true}), 0.0f);
  EXPECT_EQ(value_at(200, PeakShape{285, 0.01, 1000, 0, true}), 0.0f);
}

// The engine's batch arithmetic against the scalar profile, bit for bit, over shapes of every
// kind: wide and narrow, both modes, skews that fold the profile over, vanishing tails.
TEST(PeakProfile, BatchMatchesScalar) {
  std::mt19937 rng(7);
  std::uniform_real_distribution<double> unit(0, 1);
  std::vector<float> x(257);
  for (int n = 0; n < 400; ++n) {
    const double c = 250 + 80 * unit(rng);
    for (float& v : x) v = static_cast<float>(240 + 100 * unit(rng));
    PeakShape s{c, std::pow(10.0, -3 + 5 * unit(rng)), 5000 * (unit(rng) - 0.2),
                4 * (unit(rng) - 0.5), n % 2 == 1};
    const double w2 = app::width_squared(s);
    std::vector<double> divisors(x.size());
    std::vector<float> scratch(x.size()), values(x.size());
    app::batch_divisors(x.data(), x.size(), s, w2, kMix, divisors.data(), scratch.data());
    app::batch_values(s.height, divisors.data(), x.size(), values.data());
    for (std::size_t m = 0; m < x.size(); ++m) {
      float expected;
      try {
        expected = app::peak_value(x[m], s, w2, kMix);
      } catch (const rt::RuntimeError&) {
        continue;  // the engine never hands such a shape to the batch
      }
      ASSERT_EQ(std::memcmp(&values[m], &expected, sizeof(float)), 0)
          << "x " << x[m] << " c " << s.centre << " w " << s.width << " a " << s.alpha << " h "
          << s.height;
    }
  }
}

class ModelCurves : public testing_support::ProgramTest {};

TEST_F(ModelCurves, SlotsAbsentPresentAndOdd) {
  fit_testing::load_points({284, 285, 286}, {0, 0, 0});
  fit_testing::set_row(2, PeakRow{"285", "1.5", "1000", "abc"});  // alpha unread in symmetric mode
  fit_testing::set_row(4, PeakRow{"285", "1.5", "0", ""});
  fit_testing::set_row(5, PeakRow{"abc", "1.5", "10", ""});  // a centre that is no number is 0
  app::CALC_FITLINE();
  const app::Workspace& w = app::workspace();
  for (int i = 0; i <= 2; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(app::peak_curve(w, 1, i), 0.0f);
    EXPECT_EQ(app::peak_curve(w, 4, i), 0.0f);
    EXPECT_EQ(app::peak_curve(w, 5, i), 0.0f);  // 285 widths from 0: underflows
    EXPECT_EQ(w.SUMCURVE.at(i), app::peak_curve(w, 2, i));
  }
  EXPECT_EQ(app::peak_curve(w, 2, 1), 1000.0f);
}

TEST_F(ModelCurves, EmptySpectrumStillComputesIndexZero) {
  app::workspace().LASTPOINT = -1;
  app::workspace().XDATA.at(0) = 285;
  fit_testing::set_row(1, PeakRow{"285", "2", "7", ""});
  app::CALC_FITLINE();
  EXPECT_EQ(app::workspace().SUMCURVE.at(0), 7.0f);
}

TEST_F(ModelCurves, EmptyWidthFailsAtTheFirstPoint) {
  fit_testing::load_points({284, 285}, {0, 0});
  fit_testing::set_row(1, PeakRow{"285", "", "7", ""});
  expect_error(11, [] { app::CALC_FITLINE(); });
  fit_testing::load_points({285, 284}, {0, 0});
  expect_error(5, [] { app::CALC_FITLINE(); });
}

}  // namespace
