// The runner in-process (without text on the graph): every spectrum starts from the program as
// loading the settings leaves it, whatever the spectrum before it did.

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <utility>

#include "app/files/analysis_json.h"
#include "platform/batch/batch_options.h"
#include "platform/batch/spectrum_run.h"

namespace {

namespace fs = std::filesystem;

class SpectrumRun : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("tessaly_batch_test_" + std::to_string(::getpid()));
    fs::create_directories(dir_);
    options_.settings =
        write("two.cfg", settings({{"285.5", "1.5", "1500"}, {"289", "1.5", "900"}}));
  }
  void TearDown() override { fs::remove_all(dir_); }

  struct Row {
    const char *centre, *width, *height;
  };
  // 56 lines: the graph settings, six slots, the locks, "As" boxes and "Alpha" fields.
  static std::string settings(std::vector<Row> rows) {
    std::string s = "0\r\n0\r\n\r\n\r\n\r\n\r\n\r\n\r\n";
    rows.resize(6, Row{"", "", ""});
    for (const Row& r : rows)
      s += std::string(r.centre) + "\r\n" + r.width + "\r\n" + r.height + "\r\n";
    for (int n = 0; n < 24; ++n) s += "0\r\n";
    for (int n = 0; n < 6; ++n) s += "\r\n";
    return s;
  }
  // Two peaks near 285 and 289 over x from 295 down to 280; `sign` -1 puts them below the
  // background, so every fitted height ends at 0.
  static std::string spectrum(double sign) {
    std::string s;
    for (int i = 0; i <= 150; ++i) {
      const double x = 295 - 0.1 * i;
      const double y = sign * (1700 * std::exp(-std::pow((x - 285.2) / 1.2, 2)) +
                               1000 * std::exp(-std::pow((x - 288.9) / 1.5, 2)));
      s += std::to_string(x) + "," + std::to_string(y + 150) + ",150\r\n";
    }
    return s;
  }
  std::string write(const std::string& name, const std::string& bytes) {
    const std::string path = (dir_ / name).string();
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
  }

  fs::path dir_;
  batch::BatchOptions options_;
};

TEST_F(SpectrumRun, AFitShowsTheTableAsTheDesktopWould) {
  const batch::SpectrumRunner runner(options_, nullptr);
  const batch::SpectrumSummary s = runner.run(write("peaks.bgd", spectrum(1)));
  ASSERT_TRUE(s.ok) << s.error;
  EXPECT_EQ(s.points, "151");
  EXPECT_FALSE(s.figure.empty());
  EXPECT_FALSE(s.peaks[0].share.empty());
  EXPECT_EQ(s.peaks[2].centre, "");
  EXPECT_FALSE(s.total.empty());
  // Fields after the redraw show one decimal.
  EXPECT_NE(s.peaks[0].centre.find('.'), std::string::npos);
  EXPECT_EQ(s.peaks[0].centre.size() - s.peaks[0].centre.find('.'), 2u);
}

TEST_F(SpectrumRun, NothingOfTheSpectrumBeforeReachesTheNext) {
  const batch::SpectrumRunner runner(options_, nullptr);
  const std::string good = write("peaks.bgd", spectrum(1));
  const batch::SpectrumSummary first = runner.run(good);
  ASSERT_TRUE(first.ok);
  ASSERT_FALSE(first.peaks[0].share.empty());

  // All heights end at 0: the ratios change nothing, so only a fresh start leaves them empty.
  const batch::SpectrumSummary dips = runner.run(write("dips.bgd", spectrum(-1)));
  ASSERT_TRUE(dips.ok) << dips.error;
  EXPECT_EQ(dips.peaks[0].height, "0.0");
  EXPECT_EQ(dips.peaks[0].share, "");
  EXPECT_EQ(dips.total, "");

  const batch::SpectrumSummary missing = runner.run((dir_ / "missing.bgd").string());
  EXPECT_FALSE(missing.ok);
  EXPECT_EQ(missing.error, "63 File not found.");
  EXPECT_EQ(missing.points, "");

  const batch::SpectrumSummary again = runner.run(good);
  EXPECT_EQ(batch::summary_line(again), batch::summary_line(first));
}

TEST_F(SpectrumRun, FailuresNameTheRunTimeErrorAndShowNoResults) {
  const batch::SpectrumRunner runner(options_, nullptr);
  const batch::SpectrumSummary damaged = runner.run(write("damaged.bgd", "1,2\r\n"));
  EXPECT_FALSE(damaged.ok);
  EXPECT_EQ(damaged.error.substr(0, 3), "54 ");
  EXPECT_EQ(damaged.points, "");

  // A width of 0 fails the load's redraw: the points are known, the table is not shown.
  options_.settings = write("zero.cfg", settings({{"285.5", "0", "1500"}}));
  const batch::SpectrumRunner zero_width(options_, nullptr);
  const batch::SpectrumSummary failed = zero_width.run(write("peaks.bgd", spectrum(1)));
  EXPECT_FALSE(failed.ok);
  EXPECT_EQ(failed.error, "11 Division by zero.");
  EXPECT_EQ(failed.points, "151");
  EXPECT_EQ(failed.peaks[0].centre, "");
  EXPECT_EQ(failed.figure, "");
}

TEST_F(SpectrumRun, NoPressShowsTheSettingsAsTheLoadsRedrawRoundsThem) {
  options_.settings = write("fine.cfg", settings({{"285.56", "1.54", "1500.04"}}));
  options_.presses = 0;
  const batch::SpectrumRunner runner(options_, nullptr);
  const batch::SpectrumSummary s = runner.run(write("peaks.bgd", spectrum(1)));
  ASSERT_TRUE(s.ok) << s.error;
  EXPECT_EQ(s.peaks[0].centre, "285.6");
  EXPECT_EQ(s.peaks[0].width, "1.5");
  EXPECT_EQ(s.peaks[0].height, "1500.0");
  EXPECT_EQ(s.peaks[0].share, "");  // no press, no ratios
}

TEST_F(SpectrumRun, ASurveyIsRefinedNotPressedAndTheBackgroundsOptionsReachTheReport) {
  // 1400 points of a raw survey: "FITTING" refuses it, Refine fits it.
  std::string survey;
  for (int i = 0; i < 1400; ++i) {
    const double x = 1399 - i;
    survey += std::to_string(x) + "," +
              std::to_string(500 + x + 1700 * std::exp(-std::pow((x - 285.2) / 1.2, 2))) + "\n";
  }
  const std::string file = write("survey.csv", survey);
  options_.raw = true;
  options_.linear = true;
  options_.settings = write("one.cfg", settings({{"285.5", "1.5", "1500"}}));
  const batch::SpectrumSummary pressed = batch::SpectrumRunner(options_, nullptr).run(file);
  EXPECT_FALSE(pressed.ok);
  EXPECT_EQ(pressed.error.substr(0, 3), "9 S");
  EXPECT_EQ(pressed.points, "1400");
  options_.presses = 0;
  options_.refine = true;
  const batch::SpectrumSummary refined = batch::SpectrumRunner(options_, nullptr).run(file);
  ASSERT_TRUE(refined.ok) << refined.error;
  EXPECT_NEAR(std::stod(refined.peaks[0].centre), 285.2, 0.3);
  EXPECT_EQ(refined.peaks[0].share, "100");
  EXPECT_FALSE(refined.figure.empty());

  // Tougaard with the SiO2 kernel, offsets and a window: the report says so.
  options_.linear = false;
  std::string error;
  for (const auto& [name, value] : {std::pair{"--background", "tougaard"},
                                    std::pair{"--kernel", "sio2"}, std::pair{"--offsets", "1:2"}})
    ASSERT_TRUE(batch::read_background_option(name, value, options_.background, error)) << error;
  options_.window_from = "270";
  options_.window_to = "300";
  options_.out_dir = dir_.string();
  options_.report = true;
  const batch::SpectrumSummary tougaard = batch::SpectrumRunner(options_, nullptr).run(file);
  ASSERT_TRUE(tougaard.ok) << tougaard.error;
  std::ifstream report(dir_ / "survey.report.csv");
  const std::string text{std::istreambuf_iterator<char>(report), {}};
  for (const char* line :
       {"\nbackground,tougaard\r\n", "\nbackground_low_offset,1\r\n",
        "\nbackground_high_offset,2\r\n", "\ntougaard_c,542\r\n", "\ntougaard_c_prime,-1\r\n",
        "\ntougaard_d,275\r\n", "\ntougaard_b_from,fit\r\n"})
    EXPECT_NE(text.find(line), std::string::npos) << line << " in\n" << text;
}

TEST_F(SpectrumRun, SettingsThatCannotBeLoadedAreRefusedBeforeAnySpectrum) {
  const batch::SpectrumRunner good(options_, nullptr);
  EXPECT_FALSE(good.check_settings_and_features());

  options_.settings = write("short.cfg", "0\r\n0\r\n");
  const batch::SpectrumRunner short_file(options_, nullptr);
  const auto refused = short_file.check_settings_and_features();
  ASSERT_TRUE(refused);
  EXPECT_NE(refused->find("54 Input past end of file."), std::string::npos) << *refused;
}

// An analysis file with the two peaks of two.cfg; `centre` is the first one's full value.
std::string analysis(double centre, bool raw) {
  app::AnalysisDocument d;
  d.mixing_ratio = 0.30000001192092896;
  d.skip = "3";
  const auto component = [](const char* label, const char* c, const char* w, const char* h) {
    app::AnalysisComponent a;
    a.label = label;
    a.centre.text = c;
    a.width.text = w;
    a.height.text = h;
    return a;
  };
  d.components = {component("A", "285.5", "1.5", "1500"), component("B", "289", "1.5", "900")};
  d.components[0].centre.value = centre;
  d.components[0].centre.kept = centre != 285.5;
  if (raw) {
    d.spectrum.path = "series.csv";
    d.spectrum.raw = true;
    d.spectrum.raw_load.shirley = false;
    d.spectrum.raw_load.end_points = 3;
  }
  return app::analysis_json_text(d);
}

TEST_F(SpectrumRun, AnAnalysisFileRunsItsComponentsAtTheirFullValues) {
  const std::string peaks = write("peaks.bgd", spectrum(1));
  options_.presses = 0;
  const batch::SpectrumSummary settings = batch::SpectrumRunner(options_, nullptr).run(peaks);
  ASSERT_TRUE(settings.ok) << settings.error;

  // The same table as an analysis gives the same line; a full value behind the first centre
  // draws other curves under the same texts.
  options_.settings = write("same.json", analysis(285.5, false));
  const batch::SpectrumRunner same(options_, nullptr);
  EXPECT_FALSE(same.check_settings_and_features());
  EXPECT_EQ(batch::summary_line(same.run(peaks)), batch::summary_line(settings));
  options_.settings = write("kept.json", analysis(285.5125, false));
  const batch::SpectrumSummary kept = batch::SpectrumRunner(options_, nullptr).run(peaks);
  ASSERT_TRUE(kept.ok) << kept.error;
  EXPECT_EQ(kept.peaks[0].centre, "285.5");
  EXPECT_NE(kept.figure, settings.figure);

  // A raw source makes each spectrum a raw load with its settings, without --raw.
  options_.settings = write("raw.json", analysis(285.5, true));
  std::string csv = "x,y\n";
  for (int i = 0; i <= 100; ++i) {
    const double x = 295 - 0.15 * i;
    csv += std::to_string(x) + "," +
           std::to_string(100 + 1500 * std::exp(-std::pow((x - 285.2) / 1.2, 2))) + "\n";
  }
  const batch::SpectrumSummary raw =
      batch::SpectrumRunner(options_, nullptr).run(write("series.csv", csv));
  ASSERT_TRUE(raw.ok) << raw.error;
  EXPECT_EQ(raw.points, "101");

  options_.settings = write("damaged.json", "{\"format\": \"tessaly analysis\", \"version\": 9}");
  const auto refused = batch::SpectrumRunner(options_, nullptr).check_settings_and_features();
  ASSERT_TRUE(refused);
  EXPECT_NE(refused->find("cannot load the analysis file"), std::string::npos) << *refused;
  EXPECT_NE(refused->find("damaged.json: the file is of version 9"), std::string::npos) << *refused;
}

}  // namespace
