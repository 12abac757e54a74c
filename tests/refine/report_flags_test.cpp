// The report's honest columns: the whole-axis share beside the window's point-sum share that
// "Ratio(%)" shows, no whole-axis area for a skewed slot, the FWHM's deviation, the locks as
// constraints, and the flags of a peak that ended on a bound, at 0, or reaching past the window.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <string>
#include <vector>

#include "app/commands/fit_commands.h"
#include "app/fit/fitting.h"
#include "app/fit/refine.h"
#include "app/model/fit_report.h"
#include "app/model/profile_derivatives.h"
#include "app/workspace/peak_table.h"
#include "runtime/convert/text_to_number.h"
#include "runtime/forms/control_values.h"
#include "runtime/forms/objects.h"
#include "tests/refine/refine_fixture.h"

namespace {

using fit_testing::PeakRow;
using refine_testing::TruePeak;

bool has_flag(const app::FitReportRow& row, const std::string& flag) {
  return std::find(row.flags.begin(), row.flags.end(), flag) != row.flags.end();
}

class ReportFlags : public refine_testing::RefineTest {
 protected:
  void load(const std::vector<TruePeak>& peaks) {
    std::mt19937_64 random(11);
    refine_testing::load_spectrum(peaks, 2, random);
    rt::set_text(app::EDIT(43), "1");
  }
  app::FitReport report() { return app::make_fit_report(*app::last_fit()); }
  // The window's point sum of a row's profile, from the profile alone.
  static double point_sum(const app::FitReportRow& row, bool asymmetric = false, double alpha = 0) {
    const app::ProfileConstants k = app::ProfileConstants::for_mix(static_cast<double>(0.3f));
    app::PeakShape s;
    s.centre = row.centre, s.width = row.width, s.height = row.height;
    s.asymmetric = asymmetric, s.alpha = alpha;
    double sum = 0;
    const app::Workspace& w = app::workspace();
    for (int i = 0; i <= w.LASTPOINT; ++i) sum += app::profile_value(w.XDATA.at(i), s, k);
    return sum;
  }
};

// A peak half outside the window: its whole-axis share counts area that no point measured, the
// window share is what "Ratio(%)" shows, and the flag says so.
TEST_F(ReportFlags, APeakOnTheWindowsEdge) {
  load({{285.0, 1.4, 1000}, {294.6, 1.6, 600}});
  fit_testing::set_row(1, PeakRow{"285.2", "1.3", "950", ""});
  fit_testing::set_row(2, PeakRow{"294.4", "1.5", "550", ""});
  app::REFINE_ON();
  const app::FitReport r = report();
  ASSERT_EQ(r.rows.size(), 2u);
  EXPECT_TRUE(r.rows[0].flags.empty());
  EXPECT_TRUE(has_flag(r.rows[1], app::kTailOutsideWindow));
  EXPECT_FALSE(has_flag(r.rows[1], app::kCentreOutsideWindow));
  const double sums[2] = {point_sum(r.rows[0]), point_sum(r.rows[1])};
  for (std::size_t s = 0; s < 2; ++s) {
    SCOPED_TRACE(s);
    EXPECT_NEAR(*r.rows[s].window_share_percent, 100 * sums[s] / (sums[0] + sums[1]), 1e-9);
    // "Ratio(%)" truncates the same share to two decimals.
    const double field = rt::val(rt::get_text(app::ratio_field_of(static_cast<int>(s) + 1)));
    EXPECT_NEAR(field, *r.rows[s].window_share_percent, 0.0101);
    ASSERT_TRUE(r.rows[s].window_share_sd);
    EXPECT_GT(*r.rows[s].window_share_sd, 0);
  }
  EXPECT_GT(*r.rows[1].share_percent, *r.rows[1].window_share_percent + 5);

  // The report window shows both shares and the flag in words.
  app::FITREPORT_ON();
  const rt::ObjRef form = rt::find_live_form("FORM6")->ref();
  const auto text = [&](const char* name) { return rt::get_text(rt::find_control(form, name)); };
  EXPECT_NEAR(rt::val(text("WINDOWSHARE2")), *r.rows[1].window_share_percent, 1e-4);
  EXPECT_NE(text("SHARE2"), text("WINDOWSHARE2"));
  EXPECT_EQ(text("FLAGS1"), "ピーク 2: 面積の 1 % を超える部分がデータの範囲外です");
  EXPECT_EQ(text("FLAGS2"), "");
}

// The truth lies beyond the window's end: Refine stops on the bound, and the report says so.
TEST_F(ReportFlags, ACentreOnItsBoundAndOneOutsideTheWindow) {
  load({{285.0, 1.4, 1000}, {296.0, 1.6, 900}});
  fit_testing::set_row(1, PeakRow{"285.2", "1.3", "950", ""});
  fit_testing::set_row(2, PeakRow{"294.0", "1.5", "500", ""});
  app::refine_table();
  app::FitReport r = report();
  ASSERT_EQ(r.rows.size(), 2u);
  EXPECT_EQ(r.rows[1].centre, 295.0);
  EXPECT_TRUE(has_flag(r.rows[1], app::kCentreAtBound));
  EXPECT_TRUE(has_flag(r.rows[1], app::kTailOutsideWindow));
  EXPECT_FALSE(has_flag(r.rows[0], app::kCentreAtBound));

  // A locked centre typed beyond the window, after FITTING.
  fit_testing::set_row(2, PeakRow{"296.0", "1.6", "900", "", false, 1, 0, 0});
  app::record_fitting_result();
  r = report();
  EXPECT_TRUE(has_flag(r.rows[1], app::kCentreOutsideWindow));
  EXPECT_FALSE(has_flag(r.rows[1], app::kCentreAtBound));  // locked: it did not end anywhere
  EXPECT_EQ(r.rows[1].locked, (std::vector<std::string>{"centre"}));
}

TEST_F(ReportFlags, AHeightAtZeroAndTheLocksAsConstraints) {
  // Where slot 2 sits the data dip below 0 (a background taken too high): its best height is
  // the bound.
  load({{285.0, 1.4, 1000}, {291.0, 1.2, -40}});
  fit_testing::set_row(1, PeakRow{"285.2", "1.3", "950", ""});
  fit_testing::set_row(2, PeakRow{"291.0", "1.2", "50", "", false, 1, 1, 0});
  app::refine_table();
  const app::FitReport r = report();
  ASSERT_EQ(r.rows.size(), 2u);
  EXPECT_EQ(r.rows[1].height, 0);
  EXPECT_TRUE(has_flag(r.rows[1], app::kHeightZero));
  const std::vector<std::string> lines = app::fit_report_lines(r);
  const std::string& line = lines[2];
  const std::string end = ",centre=fix width=fix,height_zero";
  ASSERT_GT(line.size(), end.size());
  EXPECT_EQ(line.substr(line.size() - end.size()), end);
}

// A skewed slot has no whole-axis area, so no slot has a whole-axis share; the window's shares
// stand, with deviations.
TEST_F(ReportFlags, ASkewedSlotHasNoAreaAndNoSlotAWholeAxisShare) {
  load({{285.0, 1.4, 1000}, {287.4, 1.6, 450}});
  fit_testing::set_row(1, PeakRow{"285.2", "1.3", "950", "0.1", true});
  fit_testing::set_row(2, PeakRow{"287.2", "1.5", "430", ""});
  app::refine_table();
  const app::FitReport r = report();
  ASSERT_EQ(r.rows.size(), 2u);
  EXPECT_FALSE(r.rows[0].area || r.rows[0].area_sd);
  EXPECT_TRUE(r.rows[1].area && r.rows[1].area_sd);
  double total = 0;
  for (const app::FitReportRow& row : r.rows) {
    EXPECT_FALSE(row.share_percent || row.share_sd);
    EXPECT_TRUE(row.window_share_sd);
    total += *row.window_share_percent;
  }
  EXPECT_NEAR(total, 100, 1e-9);
  EXPECT_NEAR(*r.rows[0].window_share_percent,
              100 * point_sum(r.rows[0], true, 0.1) /
                  (point_sum(r.rows[0], true, 0.1) + point_sum(r.rows[1])),
              1e-7);
  // area, area_sd, share_percent and share_sd are empty on slot 1's line.
  const std::string line = app::fit_report_lines(r)[1];
  std::vector<std::string> cells;
  std::size_t from = 0;
  for (std::size_t comma; (comma = line.find(',', from)) != std::string::npos; from = comma + 1)
    cells.push_back(line.substr(from, comma - from));
  cells.push_back(line.substr(from));
  ASSERT_EQ(cells.size(), 17u);
  for (int c : {10, 11, 12, 13}) EXPECT_EQ(cells[static_cast<std::size_t>(c)], "") << c;
  EXPECT_NE(cells[14], "");
}

// The FWHM from a bisection of the profile itself, and its deviation scaled from the width's.
TEST_F(ReportFlags, TheFwhmAndItsDeviation) {
  load({{285.0, 1.4, 1000}});
  fit_testing::set_row(1, PeakRow{"285.2", "1.3", "950", ""});
  app::refine_table();
  const app::FitReportRow row = report().rows.at(0);
  const app::ProfileConstants k = app::ProfileConstants::for_mix(static_cast<double>(0.3f));
  app::PeakShape s;
  s.centre = row.centre, s.width = row.width, s.height = row.height;
  double inside = row.centre, outside = row.centre + 10 * row.width;
  for (int i = 0; i < 200; ++i) {
    const double middle = (inside + outside) / 2;
    (app::profile_value(middle, s, k) > row.height / 2 ? inside : outside) = middle;
  }
  EXPECT_NEAR(row.fwhm, 2 * (inside - row.centre), 1e-9);
  ASSERT_TRUE(row.fwhm_sd && row.width_sd);
  EXPECT_NEAR(*row.fwhm_sd, *row.width_sd * row.fwhm / row.width, 1e-12 * row.fwhm);
}

}  // namespace
