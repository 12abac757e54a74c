// Refine as a user meets it: it finds the optimum, its deviations mean what they say, it never
// ends worse, a second press changes nothing, locks hold, and bad tables are refused whole.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <string>

#include "app/commands/fit_commands.h"
#include "app/fit/kai2.h"
#include "app/fit/refine.h"
#include "app/fit/solver_module.h"
#include "app/model/fit_report.h"
#include "app/model/peak_measures.h"
#include "runtime/convert/number_text.h"
#include "runtime/forms/objects.h"
#include "tests/refine/refine_fixture.h"
#include "tests/support/run_time_errors.h"

namespace {

using app::Param;
using fit_testing::PeakRow;
using fit_testing::text_of;
using refine_testing::kTwoPeaks;
using refine_testing::load_spectrum;
using refine_testing::TruePeak;

class Refine : public refine_testing::RefineTest {
 protected:
  void type_start() {
    fit_testing::set_row(1, PeakRow{"285.3", "1.2", "900", ""});
    fit_testing::set_row(2, PeakRow{"287.1", "1.9", "500", ""});
    rt::set_text(app::EDIT(43), "1");
  }
  app::FitReport report() {
    const app::FitRecord* record = app::last_fit();
    EXPECT_NE(record, nullptr);
    return record ? app::make_fit_report(*record) : app::FitReport{};
  }
  std::mt19937_64 random_{20261209};
};

TEST_F(Refine, FindsTheTrueOptimumOfANoiselessSpectrum) {
  load_spectrum(kTwoPeaks, 0, random_);
  type_start();
  app::refine_table();
  const app::FitReport r = report();
  ASSERT_EQ(r.rows.size(), 2u);
  for (std::size_t s = 0; s < 2; ++s) {
    SCOPED_TRACE(s);
    EXPECT_NEAR(r.rows[s].centre, kTwoPeaks[s].centre, 1e-3);
    EXPECT_NEAR(r.rows[s].width, kTwoPeaks[s].width, 1e-3);
    EXPECT_NEAR(r.rows[s].height, kTwoPeaks[s].height, 0.5);
  }
  EXPECT_EQ(r.method, "refine");
  EXPECT_EQ(r.points, 301u);
  EXPECT_EQ(r.free_parameters, 6);
  // The fields hold the refined values' full texts until the redraw rounds them.
  EXPECT_EQ(text_of(1, Param::Centre),
            rt::trimmed_single_text(static_cast<float>(r.rows[0].centre)));
  app::REFINE_ON();
  EXPECT_EQ(text_of(1, Param::Centre), "285.0");
  EXPECT_EQ(text_of(2, Param::Width), "1.6");
}

// 200 spectra with the same peaks and fresh noise: the truth lies within 3 deviations of the
// refined value nearly always, and within 1 deviation about 68 % of the time.
TEST_F(Refine, DeviationsCoverTheTruthAsOftenAsTheyShould) {
  constexpr int kDraws = 200;
  constexpr int kQuantities = 10;  // centre, width, height, area, share of both peaks
  const app::ProfileConstants k = app::ProfileConstants::for_mix(static_cast<double>(0.3f));
  app::PeakShape unit;
  const double unit_area = app::unit_area(unit, k);
  double true_area[2], total = 0;
  for (int s = 0; s < 2; ++s)
    total += true_area[s] = kTwoPeaks[s].height * kTwoPeaks[s].width * unit_area;
  int within1[kQuantities] = {}, within3[kQuantities] = {};
  for (int draw = 0; draw < kDraws; ++draw) {
    load_spectrum(kTwoPeaks, 10, random_);
    type_start();
    app::refine_table();
    const app::FitReport r = report();
    ASSERT_EQ(r.rows.size(), 2u);
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
  int pooled1 = 0;
  for (int q = 0; q < kQuantities; ++q) {
    SCOPED_TRACE(q);
    EXPECT_GE(within3[q], 0.95 * kDraws);
    pooled1 += within1[q];
  }
  const double coverage = 100.0 * pooled1 / (kQuantities * kDraws);
  RecordProperty("one_sigma_coverage_percent", std::to_string(coverage));
  EXPECT_GE(coverage, 60);
  EXPECT_LE(coverage, 76);
}

// Random tables, Skips and locks: the figure after Refine is never above the figure before.
TEST_F(Refine, NeverEndsWithALargerFigure) {
  load_spectrum(kTwoPeaks, 8, random_);
  std::uniform_real_distribution<double> unit(0, 1);
  int refined = 0;
  for (int round = 0; round < 40; ++round) {
    auto text = [](double v) {
      return rt::trimmed_single_text(static_cast<float>(std::round(v * 10) / 10));
    };
    for (int k = 1; k <= 3; ++k) {
      PeakRow row{text(282 + 6 * unit(random_)), text(0.6 + 2 * unit(random_)),
                  text(1200 * unit(random_)), ""};
      row.centre_lock = unit(random_) < 0.2;
      row.width_lock = unit(random_) < 0.2;
      row.height_lock = unit(random_) < 0.2;
      if (k == 3 && unit(random_) < 0.5) row.centre = "";
      fit_testing::set_row(k, row);
    }
    rt::set_text(app::EDIT(43), text(1 + std::floor(4 * unit(random_))));
    const float before = app::KAI2();
    try {
      app::refine_table();
    } catch (const rt::RuntimeError& e) {
      ADD_FAILURE() << "round " << round << ": " << e.what();
      continue;
    }
    ++refined;
    EXPECT_LE(app::KAI2(), before) << "round " << round;
  }
  EXPECT_EQ(refined, 40);
}

TEST_F(Refine, PressedTwiceChangesNothingBeyondTheRounding) {
  load_spectrum(kTwoPeaks, 8, random_);
  type_start();
  app::REFINE_ON();
  const std::vector<std::string> once = fit_testing::peak_texts();
  app::REFINE_ON();
  EXPECT_EQ(fit_testing::peak_texts(), once);
}

TEST_F(Refine, LockedTextsStayAsTypedAndHaveNoDeviation) {
  load_spectrum(kTwoPeaks, 8, random_);
  type_start();
  fit_testing::set_row(1, PeakRow{"285.00", "1.2", "900", "", false, 1, 0, 0});
  fit_testing::set_row(
      2, PeakRow{"286.3", " 1.60", "500", "", false, 0, 2, 0});  // grey counts as locked
  app::refine_table();
  EXPECT_EQ(text_of(1, Param::Centre), "285.00");
  EXPECT_EQ(text_of(2, Param::Width), " 1.60");
  EXPECT_NE(text_of(1, Param::Width), "1.2");
  const app::FitReport r = report();
  EXPECT_FALSE(r.rows[0].centre_sd);
  EXPECT_TRUE(r.rows[0].width_sd);
  EXPECT_FALSE(r.rows[1].width_sd);
  EXPECT_EQ(r.free_parameters, 4);
  const std::vector<std::string> lines = app::fit_report_lines(r);
  EXPECT_EQ(lines[1].substr(0, 8), "1,,285,,");  // the locked centre's deviation is empty
}

// Each bad table raises error 5 with its reason and changes no field, no curve and no record.
TEST_F(Refine, BadTablesAreRefusedWhole) {
  struct Case {
    const char* reason;
    std::function<void(std::mt19937_64&)> set_up;
  };
  const Case cases[] = {
      {"no spectrum",
       [](std::mt19937_64&) {
         fit_testing::set_row(1, PeakRow{"285", "1.5", "900", ""});
       }},
      {"no peak", [](std::mt19937_64& r) { load_spectrum(kTwoPeaks, 8, r); }},
      {"nothing is free",
       [](std::mt19937_64& r) {
         load_spectrum(kTwoPeaks, 8, r);
         fit_testing::set_row(1, PeakRow{"285", "1.5", "900", "", false, 1, 1, 1});
       }},
      {"not more than the 6 free",
       [](std::mt19937_64& r) {
         load_spectrum(kTwoPeaks, 8, r);
         fit_testing::set_row(1, PeakRow{"285", "1.5", "900", ""});
         fit_testing::set_row(2, PeakRow{"286", "1.5", "400", ""});
         rt::set_text(app::EDIT(43), "60");  // points 0, 60, ..., 300: 6 compared
       }},
      {"locked width of 0",
       [](std::mt19937_64& r) {
         load_spectrum(kTwoPeaks, 8, r);
         fit_testing::set_row(1, PeakRow{"285", "1.5", "900", ""});
         fit_testing::set_row(2, PeakRow{"286", "", "400", "", false, 0, 1, 0});
       }},
      {"Skip",
       [](std::mt19937_64& r) {
         load_spectrum(kTwoPeaks, 8, r);
         fit_testing::set_row(1, PeakRow{"285", "1.5", "900", ""});
         rt::set_text(app::EDIT(43), "0");
       }},
      {"same x",
       [](std::mt19937_64&) {
         fit_testing::load_points({285, 285, 285, 285, 285}, {1, 2, 3, 4, 5});
         fit_testing::set_row(1, PeakRow{"285", "1.5", "900", ""});
         rt::set_text(app::EDIT(43), "1");
       }},
      {"above the",  // a negative height fits this spectrum best, but heights are kept >= 0
       [](std::mt19937_64&) {
         std::vector<float> x, y;
         for (int i = 0; i < 50; ++i)
           x.push_back(280 + 0.2f * static_cast<float>(i)), y.push_back(-100);
         fit_testing::load_points(x, y);
         fit_testing::set_row(1, PeakRow{"285", "40", "-50", "", false, 1, 1, 0});
         rt::set_text(app::EDIT(43), "1");
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.reason);
    TearDown();
    SetUp();
    c.set_up(random_);
    const std::vector<std::string> texts = fit_testing::peak_texts();
    const app::Workspace curves = app::workspace();
    try {
      app::REFINE_ON();
      ADD_FAILURE() << "no error";
    } catch (const rt::RuntimeError& e) {
      EXPECT_EQ(e.number(), 5);
      EXPECT_NE(e.detail().find(c.reason), std::string::npos) << e.detail();
    }
    EXPECT_EQ(fit_testing::peak_texts(), texts);
    EXPECT_TRUE(std::equal(curves.SUMCURVE.data(), curves.SUMCURVE.data() + 2001,
                           app::workspace().SUMCURVE.data()));
    EXPECT_EQ(app::last_fit(), nullptr);
  }
}

TEST_F(Refine, AFieldTypedWhileItRunsStopsItWithNothingWritten) {
  load_spectrum(kTwoPeaks, 8, random_);
  type_start();
  platform_.on_pump = [](int n) {
    if (n == 2) rt::control_of(app::field_of(2, Param::Alpha)).user_set_text("0.1");
  };
  const std::vector<std::string> texts = fit_testing::peak_texts();
  try {
    app::refine_table();
    ADD_FAILURE() << "no error";
  } catch (const rt::RuntimeError& e) {
    EXPECT_NE(e.detail().find("changed while"), std::string::npos);
  }
  EXPECT_GE(platform_.pumps, 2);
  EXPECT_EQ(fit_testing::peak_texts(), texts);
}

// The solver is a module loaded on first use: the program's own is found, and one that is
// missing or of another build is refused with the reason instead of being called.
TEST(SolverModule, LoadsTheProgramsOwnAndRefusesOthersWithTheReason) {
  EXPECT_NE(app::solver_module().solve, nullptr) << app::solver_module().error;
  const app::LoadedSolver missing = app::load_solver_module("libtessaly_no_such_solver.so");
  EXPECT_EQ(missing.solve, nullptr);
  EXPECT_NE(missing.error.find("libtessaly_no_such_solver.so"), std::string::npos) << missing.error;
  const app::LoadedSolver foreign = app::load_solver_module("libm.so.6");
  EXPECT_EQ(foreign.solve, nullptr);
  EXPECT_NE(foreign.error.find("another build"), std::string::npos) << foreign.error;
}

}  // namespace
