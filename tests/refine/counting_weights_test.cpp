// Refine weighted by counting statistics: on Poisson counts of known truth its deviations cover
// the truth as often as deviations should and its reduced chi-square is 1; its chi-square and
// covariance are those of an independent weighted least-squares computation; the loads set the
// choice, and a measured value below 0 refuses it.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <string>
#include <vector>

#include "app/fit/refine.h"
#include "app/model/fit_report.h"
#include "app/model/peak_measures.h"
#include "app/model/profile_derivatives.h"
#include "app/workspace/peak_table.h"
#include "app/workspace/workspace.h"
#include "tests/refine/refine_fixture.h"
#include "tests/support/run_time_errors.h"

namespace {

using fit_testing::PeakRow;
using refine_testing::kTwoPeaks;
using refine_testing::TruePeak;

constexpr double kBackground = 200;  // counts under the peaks, known and subtracted

class CountingWeights : public refine_testing::RefineTest {
 protected:
  // Poisson counts of background + peaks on `points` points from 295 down to 280: the measured
  // values kept with the spectrum, and the net values (counts - background) fitted.
  void load_counts(const std::vector<TruePeak>& peaks, int points = 301) {
    std::vector<float> x, y;
    std::vector<double> measured;
    for (int i = 0; i < points; ++i) {
      const double xi = static_cast<float>(295 - 15.0 * i / (points - 1));
      std::poisson_distribution<long> counts(kBackground + refine_testing::truth_at(xi, peaks));
      const double m = static_cast<double>(counts(random_));
      x.push_back(static_cast<float>(xi));
      y.push_back(static_cast<float>(m - kBackground));
      measured.push_back(m);
    }
    std::mt19937_64 unused;
    refine_testing::load_spectrum(peaks, 0, unused, points);  // ranges as a load leaves them
    fit_testing::load_points(x, y);
    app::workspace().fit.spectrum.measured = measured;
  }
  void type_start() {
    fit_testing::set_row(1, PeakRow{"285.3", "1.2", "900", ""});
    fit_testing::set_row(2, PeakRow{"287.1", "1.9", "500", ""});
    rt::set_text(app::EDIT(43), "1");
  }
  app::FitReport report() { return app::make_fit_report(*app::last_fit()); }
  std::mt19937_64 random_{20261210};
};

// 200 draws, every centre, width, height, area and share of both peaks.
TEST_F(CountingWeights, DeviationsCoverPoissonTruthAsOftenAsTheyShould) {
  constexpr int kDraws = 200;
  constexpr int kQuantities = 10;
  const app::ProfileConstants k = app::ProfileConstants::for_mix(static_cast<double>(0.3f));
  const double unit_area = app::unit_area(app::PeakShape{}, k);
  double true_area[2], total = 0;
  for (int s = 0; s < 2; ++s)
    total += true_area[s] = kTwoPeaks[s].height * kTwoPeaks[s].width * unit_area;
  int within1[kQuantities] = {}, within3[kQuantities] = {};
  std::vector<double> reduced;
  app::set_weight_counts(true);
  for (int draw = 0; draw < kDraws; ++draw) {
    load_counts(kTwoPeaks);
    type_start();
    app::refine_table();
    const app::FitReport r = report();
    ASSERT_EQ(r.weighting, "counts");
    ASSERT_EQ(r.rows.size(), 2u);
    reduced.push_back(r.reduced_chi2);
    for (int s = 0; s < 2; ++s) {
      const app::FitReportRow& row = r.rows[static_cast<std::size_t>(s)];
      const TruePeak& t = kTwoPeaks[static_cast<std::size_t>(s)];
      const double z[5] = {
          (row.centre - t.centre) / *row.centre_sd, (row.width - t.width) / *row.width_sd,
          (row.height - t.height) / *row.height_sd, (*row.area - true_area[s]) / *row.area_sd,
          (*row.share_percent - 100 * true_area[s] / total) / *row.share_sd};
      for (int q = 0; q < 5; ++q) {
        within1[5 * s + q] += std::fabs(z[q]) <= 1;
        within3[5 * s + q] += std::fabs(z[q]) <= 3;
      }
    }
  }
  const char* names[5] = {"centre", "width", "height", "area", "share"};
  for (int q = 0; q < kQuantities; ++q) {
    SCOPED_TRACE(std::string(names[q % 5]) + " of peak " + std::to_string(q / 5 + 1));
    RecordProperty(std::string(names[q % 5]) + std::to_string(q / 5 + 1) + "_within_1_sigma",
                   std::to_string(within1[q]));
    RecordProperty(std::string(names[q % 5]) + std::to_string(q / 5 + 1) + "_within_3_sigma",
                   std::to_string(within3[q]));
    EXPECT_GE(within1[q], 0.60 * kDraws);
    EXPECT_LE(within1[q], 0.76 * kDraws);
    EXPECT_GE(within3[q], 0.95 * kDraws);
  }
  std::nth_element(reduced.begin(), reduced.begin() + kDraws / 2, reduced.end());
  const double median = reduced[kDraws / 2];
  RecordProperty("median_reduced_chi2", std::to_string(median));
  EXPECT_GE(median, 0.9);
  EXPECT_LE(median, 1.1);
}

// One peak with its width locked: the centre and height, their deviations and the chi-square
// recomputed here from the definitions, with a numerical Jacobian and a 2 x 2 inverse.
TEST_F(CountingWeights, ChiSquareAndCovarianceAreThoseOfWeightedLeastSquares) {
  const std::vector<TruePeak> one = {{286.0, 1.5, 300}};
  load_counts(one, 101);
  fit_testing::set_row(1, PeakRow{"285.8", "1.5", "280", "", false, 0, 1, 0});
  rt::set_text(app::EDIT(43), "1");
  const std::vector<double>& m = app::workspace().fit.spectrum.measured;
  const app::ProfileConstants k = app::ProfileConstants::for_mix(static_cast<double>(0.3f));

  for (bool weighted : {true, false}) {
    SCOPED_TRACE(weighted ? "counts" : "none");
    app::set_weight_counts(weighted);
    fit_testing::set_row(1, PeakRow{"285.8", "1.5", "280", "", false, 0, 1, 0});
    app::refine_table();
    const app::FitReport r = report();
    ASSERT_EQ(r.rows.size(), 1u);
    const app::FitReportRow& row = r.rows[0];
    const auto model = [&](double x, double c, double h) {
      app::PeakShape s;
      s.centre = c, s.width = 1.5, s.height = h;
      return app::profile_value(x, s, k);
    };
    double chi2 = 0, rss = 0, a = 0, b = 0, d = 0;  // [[a b] [b d]] = J^T W J
    const app::Workspace& w = app::workspace();
    for (int i = 0; i <= w.LASTPOINT; ++i) {
      const double x = w.XDATA.at(i), y = w.YDATA.at(i);
      const double weight = weighted ? 1 / std::max(m[static_cast<std::size_t>(i)], 1.0) : 1.0;
      const double residual = y - model(x, row.centre, row.height);
      chi2 += residual * residual * weight;
      rss += residual * residual;
      const double hc = 1e-6, hh = 1e-4;
      const double jc =
          (model(x, row.centre + hc, row.height) - model(x, row.centre - hc, row.height)) /
          (2 * hc);
      const double jh =
          (model(x, row.centre, row.height + hh) - model(x, row.centre, row.height - hh)) /
          (2 * hh);
      a += jc * jc * weight, b += jc * jh * weight, d += jh * jh * weight;
    }
    const double n = w.LASTPOINT + 1.0, p = 2;
    const double scale = weighted ? 1.0 : rss / (n - p);
    const double det = a * d - b * b;
    EXPECT_NEAR(r.rss, rss, 1e-9 * rss);
    EXPECT_NEAR(r.chi2, chi2, 1e-9 * chi2);
    EXPECT_NEAR(r.reduced_chi2, chi2 / (n - p), 1e-9 * chi2);
    EXPECT_NEAR(*row.centre_sd, std::sqrt(scale * d / det), 1e-5 * *row.centre_sd);
    EXPECT_NEAR(*row.height_sd, std::sqrt(scale * a / det), 1e-5 * *row.height_sd);
    EXPECT_FALSE(row.width_sd);
    EXPECT_EQ(r.weighting, weighted ? "counts" : "none");
  }
}

TEST_F(CountingWeights, AMeasuredValueBelowZeroOrNoneRefusesWeighting) {
  load_counts(kTwoPeaks);
  type_start();
  app::workspace().fit.spectrum.measured[40] = -3;
  app::set_weight_counts(true);
  const std::vector<std::string> before = fit_testing::peak_texts();
  try {
    app::refine_table();
    ADD_FAILURE() << "weighted Refine accepted a negative count";
  } catch (const rt::RuntimeError& e) {
    EXPECT_EQ(e.number(), 5);
    EXPECT_NE(std::string(e.what()).find("below 0"), std::string::npos) << e.what();
  }
  EXPECT_EQ(fit_testing::peak_texts(), before);
  // Unweighted, the same spectrum refines.
  app::set_weight_counts(false);
  EXPECT_EQ(error_of([] { app::refine_table(); }), 0);

  app::workspace().fit.spectrum.measured.clear();
  app::set_weight_counts(true);
  type_start();
  expect_error(5, [] { app::refine_table(); });
}

}  // namespace
