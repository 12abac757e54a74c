// The fit report: after FITTING it describes the values behind the drawn curves (not the
// rounded fields) without deviations; its CSV has the layout readers rely on.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "app/commands/fit_commands.h"
#include "app/files/fit_report_file.h"
#include "app/files/spectrum_load.h"
#include "app/fit/fitting.h"
#include "app/fit/refine.h"
#include "app/model/fit_report.h"
#include "runtime/convert/number_text.h"
#include "runtime/convert/text_to_number.h"
#include "tests/refine/refine_fixture.h"
#include "tests/support/run_time_errors.h"

namespace {

using app::Param;
using fit_testing::PeakRow;
using refine_testing::kTwoPeaks;

class FitReport : public refine_testing::RefineTest {
 protected:
  void SetUp() override {
    RefineTest::SetUp();
    std::mt19937_64 random(7);
    refine_testing::load_spectrum(kTwoPeaks, 5, random);
  }
  void type_rows() {
    fit_testing::set_row(1, PeakRow{"285.2", "1.5", "950", ""});
    fit_testing::set_row(2, PeakRow{"286.4", "1.5", "420", "", false, 1, 0, 0});
  }
};

TEST_F(FitReport, AfterFittingItHoldsTheSweptValuesBeforeTheirRounding) {
  type_rows();
  app::fitting_sweep();
  const std::vector<std::string> swept = fit_testing::peak_texts();
  type_rows();
  app::BUTTON1_ON();
  const app::FitRecord* record = app::last_fit();
  ASSERT_NE(record, nullptr);
  const app::FitReport r = app::make_fit_report(*record);
  EXPECT_EQ(r.method, "fitting");
  ASSERT_EQ(r.rows.size(), 2u);
  for (std::size_t s = 0; s < 2; ++s) {
    SCOPED_TRACE(s);
    EXPECT_EQ(r.rows[s].centre, rt::val(swept[3 * s]));
    EXPECT_EQ(r.rows[s].width, rt::val(swept[3 * s + 1]));
    EXPECT_EQ(r.rows[s].height, rt::val(swept[3 * s + 2]));
    EXPECT_FALSE(r.rows[s].centre_sd || r.rows[s].width_sd || r.rows[s].height_sd ||
                 r.rows[s].area_sd || r.rows[s].share_sd);
  }
  EXPECT_EQ(r.free_parameters, 5);  // slot 2's centre is locked
  EXPECT_EQ(r.points, 101u);        // Skip 3 over 301 points
  EXPECT_NEAR(*r.rows[0].share_percent + *r.rows[1].share_percent, 100, 1e-9);
  EXPECT_EQ(r.reduced_chi2, r.rss / (101 - 5));
  EXPECT_EQ(r.chi2, r.rss);  // unweighted: every sigma is 1
  EXPECT_EQ(r.weighting, "none");
}

TEST_F(FitReport, CsvLayout) {
  type_rows();
  app::REFINE_ON();
  const std::vector<std::string> lines =
      app::fit_report_lines(app::make_fit_report(*app::last_fit()));
  ASSERT_EQ(lines.size(), 11u);
  EXPECT_EQ(lines[0],
            "slot,name,centre,centre_sd,width,width_sd,fwhm,fwhm_sd,height,height_sd,area,area_sd,"
            "share_percent,share_sd,window_share_percent,constraints,flags");
  for (int s = 1; s <= 2; ++s) {
    SCOPED_TRACE(s);
    const std::string& line = lines[static_cast<std::size_t>(s)];
    EXPECT_EQ(std::count(line.begin(), line.end(), ','), 16);
    EXPECT_EQ(line.substr(0, 3), std::to_string(s) + ",,");  // no name yet
  }
  EXPECT_NE(lines[2].find(",286.399994,,"), std::string::npos);  // slot 2's locked centre
  EXPECT_NE(lines[2].find(",centre=fix,"), std::string::npos);
  EXPECT_EQ(lines[3], "");
  EXPECT_EQ(lines[4], "points,101");
  EXPECT_EQ(lines[5], "free_parameters,5");
  EXPECT_EQ(lines[6].substr(0, 4), "rss,");
  EXPECT_EQ(lines[7].substr(0, 5), "chi2,");
  EXPECT_EQ(lines[8].substr(0, 13), "reduced_chi2,");
  EXPECT_EQ(lines[9], "weighting,none");
  EXPECT_EQ(lines[10], "method,refine");
}

TEST_F(FitReport, NumbersKeepNineDigitsWhateverTheirSize) {
  EXPECT_EQ(app::report_number(285.123456789), "285.123457");
  EXPECT_EQ(app::report_number(1234567890.0), "1.23456789e+09");
  EXPECT_EQ(app::report_number(0.000123456789012), "0.000123456789");
  EXPECT_EQ(app::report_number(-2), "-2");
  EXPECT_EQ(app::report_number(1.0 / 0.0), "inf");
}

TEST_F(FitReport, SavedOnlyWhenThereIsAFit) {
  const std::filesystem::path path =
      std::filesystem::temp_directory_path() / "tessaly_fit_report_test.csv";
  std::filesystem::remove(path);
  expect_error(5, [&] { app::save_fit_report(path.string()); });
  EXPECT_FALSE(std::filesystem::exists(path));
  type_rows();
  app::REFINE_ON();
  app::save_fit_report(path.string());
  std::ifstream in(path, std::ios::binary);
  const std::string saved((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::string expected;
  for (const std::string& line : app::fit_report_lines(app::make_fit_report(*app::last_fit())))
    expected += line + "\r\n";
  EXPECT_EQ(saved, expected);
  std::filesystem::remove(path);
}

TEST_F(FitReport, ANewSpectrumEndsTheLastFitsReportARefusedLoadKeepsIt) {
  type_rows();
  app::REFINE_ON();
  ASSERT_NE(app::last_fit(), nullptr);
  const std::string missing =
      (std::filesystem::temp_directory_path() / "tessaly_no_such_spectrum.bgd").string();
  expect_error(rt::kFileNotFound, [&] { app::load_spectrum(missing); });
  EXPECT_NE(app::last_fit(), nullptr);

  app::LoadedSpectrum other;
  other.add(290, 10);
  other.add(289, 20);
  app::store_spectrum(other, "/data/other.bgd");
  EXPECT_EQ(app::last_fit(), nullptr);
  expect_error(5, [] { app::save_fit_report("/nonexistent/tessaly/report.csv"); });
}

}  // namespace
