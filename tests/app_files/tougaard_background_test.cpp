// The Tougaard background against a computation written from the formula alone
// (tougaard_reference.py, its output in tougaard_reference_values.h), and raw loads with it:
// the fitted B, the kernel presets, the ends' offsets and what a load refuses.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "app/files/background.h"
#include "app/files/raw_spectrum.h"
#include "app/files/tougaard_background.h"
#include "app/workspace/workspace.h"
#include "files_fixture.h"
#include "tougaard_reference_values.h"

namespace files_test {
namespace {

namespace ref = tougaard_reference;

std::vector<double> reference_x() {
  std::vector<double> x;
  for (int i = 0; i < 61; ++i) x.push_back(280.0 + 0.2 * i);
  return x;
}

std::vector<std::size_t> highest(std::size_t n, std::size_t k) {
  std::vector<std::size_t> v;
  for (std::size_t i = 0; i < k; ++i) v.push_back(n - 1 - i);
  return v;
}

double mean_of(const std::vector<double>& v, std::size_t first, std::size_t count) {
  double s = 0;
  for (std::size_t i = first; i < first + count; ++i) s += v[i];
  return s / static_cast<double>(count);
}

void expect_matches_reference(const std::vector<double>& actual,
                              const std::vector<double>& expected) {
  const auto [lo, hi] = std::minmax_element(ref::kY.begin(), ref::kY.end());
  const double tolerance = 1e-6 * (*hi - *lo);
  ASSERT_EQ(actual.size(), expected.size());
  for (std::size_t i = 0; i < expected.size(); ++i)
    EXPECT_NEAR(actual[i], expected[i], tolerance) << "point " << i;
}

TEST(TougaardBackground, MatchesTheReferenceWithBFittedOrTyped) {
  const auto x = reference_x();
  const double low = mean_of(ref::kY, 0, 3), high = mean_of(ref::kY, 58, 3);
  const auto fitted =
      app::tougaard_background(x, ref::kY, {}, low, high, highest(61, 3), std::nullopt);
  ASSERT_TRUE(fitted);
  EXPECT_NEAR(fitted->b, ref::kFittedB, 1e-9 * ref::kFittedB);
  expect_matches_reference(fitted->values, ref::kUniversal);
  // B fitted to the high end: there the background's mean is the data's.
  EXPECT_NEAR(mean_of(fitted->values, 58, 3), high, 1e-9 * high);
  // The tail put in was B = 2866 on the peak alone; the fit on the whole spectrum is near it.
  EXPECT_NEAR(fitted->b, 2866, 0.02 * 2866);

  const app::TougaardKernel oxide{542, -1, 275};
  const auto typed = app::tougaard_background(x, ref::kY, oxide, low, high, highest(61, 3), 300.0);
  ASSERT_TRUE(typed);
  EXPECT_EQ(typed->b, 300.0);
  expect_matches_reference(typed->values, ref::kOxideB300);
}

TEST(TougaardBackground, FileOrderDoesNotMatter) {
  // Binding energies usually come falling: the same points reversed give the same values.
  auto x = reference_x();
  auto y = ref::kY;
  std::reverse(x.begin(), x.end());
  std::reverse(y.begin(), y.end());
  const double low = mean_of(ref::kY, 0, 3), high = mean_of(ref::kY, 58, 3);
  const auto r = app::tougaard_background(x, y, {}, low, high, {0, 1, 2}, std::nullopt);
  ASSERT_TRUE(r);
  auto values = r->values;
  std::reverse(values.begin(), values.end());
  expect_matches_reference(values, ref::kUniversal);
}

TEST(TougaardBackground, LongGridsComputedAsTheyGoAgreeWithKeptWeights) {
  // Past the kept size the weights are computed on each evaluation; the sums must not change.
  const std::size_t n = app::kTougaardKeptPoints + 7;
  std::vector<double> x(n), net(n);
  for (std::size_t i = 0; i < n; ++i) {
    x[i] = 0.05 * static_cast<double>(i) + (i % 3 == 0 ? 0.01 : 0.0);  // uneven spacing
    net[i] = 100 * std::exp(-std::pow((x[i] - 20) / 2, 2)) + static_cast<double>(i % 5);
  }
  const auto s = app::TougaardMatrix(x, {}).apply(net);
  for (std::size_t i : {std::size_t{1}, n / 2, n - 1}) {
    double expected = 0;
    for (std::size_t j = 0; j < i; ++j) {
      const double w = (x[j + 1] - x[j > 0 ? j - 1 : 0]) / 2;
      expected += app::tougaard_k1({}, x[i] - x[j]) * w * net[j];
    }
    EXPECT_NEAR(s[i], expected, 1e-12 * std::fabs(expected)) << "point " << i;
  }
}

TEST(TougaardBackground, ALongGridsOnePassAgreesWithThePairs) {
  // A survey's grid: the sums of the net values and of 1 together, by lag on equal steps
  // (x as an instrument's decimal text gives them, a hair off) and by pairs on uneven ones.
  for (const bool uneven : {false, true}) {
    SCOPED_TRACE(uneven ? "uneven steps" : "equal steps");
    const std::size_t n = app::kTougaardKeptPoints + 1001;
    std::vector<double> x(n), net(n);
    for (std::size_t i = 0; i < n; ++i) {
      x[i] = 100 + 0.05 * static_cast<double>(i) + (uneven && i % 3 == 0 ? 0.01 : 0.0);
      net[i] = 100 * std::exp(-std::pow((x[i] - 150) / 2, 2)) + static_cast<double>(i % 5);
    }
    const app::TougaardMatrix matrix(x, {});
    const auto [s, unit] = matrix.apply_with_unit(net);
    const std::vector<double> pairs = matrix.apply(net);
    const std::vector<double> unit_pairs = matrix.apply(std::vector<double>(n, 1.0));
    for (std::size_t i = 0; i < n; ++i) {
      ASSERT_NEAR(s[i], pairs[i], 1e-9 * std::fabs(pairs[i]) + 1e-12) << "point " << i;
      ASSERT_NEAR(unit[i], unit_pairs[i], 1e-9 * std::fabs(unit_pairs[i]) + 1e-12) << i;
    }
  }
}

TEST(TougaardBackground, NothingAboveTheLowLevelCannotBeFitted) {
  const std::vector<double> x = {1, 2, 3, 4}, y = {5, 5, 5, 8};
  EXPECT_FALSE(app::tougaard_background(x, y, {}, 5, 8, {3}, std::nullopt));
}

TEST(EndAverages, OffsetsSkipPointsInwardFromEachEnd) {
  const std::vector<double> x = {6, 5, 4, 3, 2, 1}, y = {60, 50, 40, 30, 20, 10};
  const auto a = app::end_averages(x, y, {2, 1, 0});
  ASSERT_TRUE(a);
  EXPECT_EQ(a->levels.low, 25);   // x = 2 and 3, after skipping x = 1
  EXPECT_EQ(a->levels.high, 55);  // x = 6 and 5
  EXPECT_FALSE(app::end_averages(x, y, {3, 4, 0}));
  // Without offsets, more points than there are averages them all, as before.
  EXPECT_EQ(app::end_averages(x, y, {9, 0, 0})->levels.low, 35);
}

class TougaardLoad : public FilesTest {
 protected:
  // The reference spectrum as a file, falling binding energy as instruments write it.
  void write_reference(const std::string& name, double kinetic_from = 0) {
    const auto x = reference_x();
    std::string text = "Binding Energy,Counts\n";
    for (std::size_t k = x.size(); k-- > 0;) {
      const double xv = kinetic_from > 0 ? kinetic_from - x[k] : x[k];
      text += std::to_string(xv) + "," + std::to_string(ref::kY[k]) + "\n";
    }
    write_bytes(name, text);
  }
};

TEST_F(TougaardLoad, TheNetSpectrumIsTheDataLessTheBackground) {
  write_reference("c1s.csv");
  app::RawSettings s;
  s.tougaard = true;
  s.end_points = 3;
  ASSERT_EQ(run([&] { app::load_raw_spectrum(path("c1s.csv"), s); }), 0);
  const app::Workspace& w = app::workspace();
  ASSERT_EQ(w.LASTPOINT, 60);
  // Point 0 of the file is x = 292, the reference's last.
  const auto& bg = w.fit.background;
  ASSERT_TRUE(bg);
  EXPECT_EQ(bg->method, "tougaard");
  EXPECT_TRUE(bg->tougaard_b_fitted);
  EXPECT_NEAR(bg->tougaard_b, ref::kFittedB, 1e-4 * ref::kFittedB);  // six-decimal file text
  EXPECT_EQ(bg->low_from, 280.0);
  EXPECT_NEAR(bg->low_to, 280.4, 1e-9);
  EXPECT_NEAR(bg->high_to, 292.0, 1e-9);
  for (int i = 0; i < 61; ++i) {
    const auto k = static_cast<std::size_t>(60 - i);
    const double net = ref::kY[k] - ref::kUniversal[k];
    EXPECT_NEAR(w.YDATA.at(i), net, 1e-3 + 1e-6 * std::fabs(net)) << "point " << i;
  }
}

TEST_F(TougaardLoad, KineticEnergyAndEndsInEitherOrder) {
  // The same spectrum in kinetic energy (Al Ka), its window typed high to low.
  write_reference("ke.txt", 1486.6);
  app::RawSettings s;
  s.tougaard = true;
  s.end_points = 3;
  s.excitation_energy = 1486.6;
  s.from = 292.1;
  s.to = 279.9;
  ASSERT_EQ(run([&] { app::load_raw_spectrum(path("ke.txt"), s); }), 0);
  const app::Workspace& w = app::workspace();
  ASSERT_EQ(w.LASTPOINT, 60);
  EXPECT_NEAR(w.XMIN, 280, 1e-3);
  EXPECT_NEAR(w.XMAX, 292, 1e-3);
  EXPECT_EQ(w.fit.background->excitation_energy, 1486.6);
  EXPECT_NEAR(w.fit.background->tougaard_b, ref::kFittedB, 1e-3 * ref::kFittedB);
}

TEST_F(TougaardLoad, NonsenseIsRefusedAndChangesNothing) {
  write_reference("good.csv");
  app::RawSettings good;
  good.tougaard = true;
  ASSERT_EQ(run([&] { app::load_raw_spectrum(path("good.csv"), good); }), 0);
  const ProgramState before = program_state();
  app::RawSettings pole = good, negative_b = good, offsets = good, kinetic = good, flat = good;
  pole.kernel = {4, -1, 0};  // C + C' T^2 = 0 at T = 2 eV
  negative_b.tougaard_b = -1;
  offsets.low_offset = 59;
  kinetic.excitation_energy = 100;  // below the file's energies
  const struct {
    const char* name;
    app::RawSettings settings;
    const char* file;
    const char* detail;
  } cases[] = {
      {"a kernel with a pole", pole, "good.csv", "has no finite value at the loss 2 eV"},
      {"a negative B", negative_b, "good.csv", "Tougaard B must be 0 or more"},
      {"offsets past the window", offsets, "good.csv", "too few to skip 59 and average 5"},
      {"kinetic above the excitation", kinetic, "good.csv", "is above the excitation energy 100"},
      {"nothing to scale B by", flat, "flat.csv", "no Tougaard background meets the data"},
  };
  write_bytes("flat.csv", "1,5\n2,5\n3,5\n4,5\n5,5\n6,5\n7,5\n8,5\n9,5\n10,5\n11,9\n");
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    try {
      app::load_raw_spectrum(path(c.file), c.settings);
      ADD_FAILURE() << "loaded";
    } catch (const rt::RuntimeError& e) {
      EXPECT_EQ(e.number(), 5);
      EXPECT_NE(e.detail().find(c.detail), std::string::npos) << e.detail();
    }
    EXPECT_SAME_STATE(before, program_state());
  }
}

}  // namespace
}  // namespace files_test
