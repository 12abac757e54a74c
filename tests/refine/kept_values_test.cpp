// The full-precision values Refine keeps behind the peak fields: every later computation uses
// them while the fields show the program's own texts (rounded by the redraw or not), so Refine's
// shares survive redraws, copies, the axis correction and a save and load; typing, "Make", a
// drag, "FITTING" and "Load" replace them.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <deque>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "app/commands/file_commands.h"
#include "app/commands/fit_commands.h"
#include "app/commands/graph_commands.h"
#include "app/commands/peak_table_commands.h"
#include "app/files/settings_file.h"
#include "app/fit/refine.h"
#include "app/graph/drawgraph.h"
#include "app/model/fit_report.h"
#include "app/workspace/peak_table.h"
#include "runtime/convert/number_text.h"
#include "runtime/convert/text_to_number.h"
#include "runtime/forms/objects.h"
#include "tests/refine/refine_fixture.h"
#include "tests/support/run_time_errors.h"

namespace {

using app::Param;
using fit_testing::PeakRow;
using fit_testing::text_of;

// Three overlapping components, one of them small, as a C 1s region with a shoulder looks: the
// fields' one decimal moves their shares by far more than the shares' two printed decimals.
const std::vector<refine_testing::TruePeak> kShoulder = {
    {284.8, 1.3, 900}, {285.9, 1.4, 380}, {288.6, 1.7, 90}};

// Answers file dialogs from a queue and the axis correction's question with yes.
class DialogPlatform : public fit_testing::RecordingPlatform {
 public:
  std::deque<std::string> files;
  std::optional<std::string> file_dialog(const rt::FileDialogRequest&) override {
    if (files.empty()) return std::nullopt;
    std::string path = files.front();
    files.pop_front();
    return path;
  }
  int message_box(const rt::MessageBoxRequest&) override { return rt::kYes; }
};

class KeptValues : public testing_support::ProgramTest {
 protected:
  KeptValues() : ProgramTest(&platform_) {}
  void SetUp() override {
    ProgramTest::SetUp();
    std::mt19937_64 random(20261210);
    refine_testing::load_spectrum(kShoulder, 4, random);
    fit_testing::set_row(1, PeakRow{"285.0", "1.2", "850", ""});
    fit_testing::set_row(2, PeakRow{"286.1", "1.5", "350", ""});
    fit_testing::set_row(3, PeakRow{"288.4", "1.5", "100", ""});
    rt::set_text(app::EDIT(43), "1");
    folder_ = std::filesystem::temp_directory_path() /
              ("tessaly_kept_" + std::to_string(::getpid()) + "_" +
               testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::create_directories(folder_);
  }
  void TearDown() override {
    std::filesystem::remove_all(folder_);
    ProgramTest::TearDown();
  }
  // The refined values as the report holds them, slot by slot: centre, width, height.
  std::vector<double> refined() const {
    std::vector<double> v;
    for (const app::FitReportRow& row : app::make_fit_report(*app::last_fit()).rows)
      v.insert(v.end(), {row.centre, row.width, row.height});
    return v;
  }
  std::vector<double> parameters() const {
    std::vector<double> v;
    for (int k = 1; k <= 3; ++k)
      for (Param p : {Param::Centre, Param::Width, Param::Height})
        v.push_back(app::Parameter(k, p));
    return v;
  }
  void save(const std::string& name) {
    platform_.files.push_back((folder_ / name).string());
    app::BUTTON22_ON();
  }
  void load(const std::string& name) {
    platform_.files.push_back((folder_ / name).string());
    app::BUTTON23_ON();
  }
  std::string read(const std::string& name) const {
    std::ifstream in(folder_ / name, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  }
  DialogPlatform platform_;
  std::filesystem::path folder_;
};

TEST_F(KeptValues, RefinesSharesSurviveEveryCommandThatReadsTheTable) {
  app::REFINE_ON();
  const std::string shares = platform_.clipboard;
  const std::vector<double> values = refined();
  ASSERT_EQ(values, parameters());
  // The fields show one decimal, as ever; behind them stands the full value.
  EXPECT_EQ(text_of(1, Param::Centre),
            rt::trimmed_single_text(static_cast<float>(std::floor(values[0] * 10 + 0.5) / 10)));

  // What the rounded fields alone give: other shares.
  {
    const std::vector<std::string> texts = fit_testing::peak_texts();
    app::KeptPeakValues kept = app::workspace().fit.kept;
    app::forget_kept_values();
    app::DRAWGRAPH();
    app::BUTTON27_ON();
    EXPECT_NE(platform_.clipboard, shares) << "the rounded fields should have moved the shares";
    app::workspace().fit.kept = kept;
    EXPECT_EQ(fit_testing::peak_texts(), texts);
  }

  app::BUTTON29_ON();  // "Redraw"
  app::BUTTON27_ON();  // "COPY"
  EXPECT_EQ(platform_.clipboard, shares);
  EXPECT_EQ(parameters(), values);

  // "Collect": spectrum and centres move together by 0.5 (exact in both precisions).
  rt::set_text(app::EDIT(11), "0.5");
  app::BUTTON4_ON();
  app::BUTTON27_ON();
  EXPECT_EQ(platform_.clipboard, shares);
  EXPECT_EQ(app::Parameter(2, Param::Centre), values[3] + 0.5);

  save("after.cfg");
  app::forget_kept_values();
  for (int k = 1; k <= 3; ++k) rt::set_text(app::field_of(k, Param::Height), "1");
  load("after.cfg");
  app::DRAWGRAPH();
  app::BUTTON27_ON();
  EXPECT_EQ(platform_.clipboard, shares);

  app::REFINE_ON();  // from the kept optimum it stays there
  EXPECT_EQ(platform_.clipboard, shares);
}

TEST_F(KeptValues, SaveAddsTheValuesAfterTheFiftySixLinesOnlyWhenThereAreAny) {
  save("plain.cfg");
  const std::string plain = read("plain.cfg");
  EXPECT_EQ(std::count(plain.begin(), plain.end(), '\n'), 56);

  app::REFINE_ON();
  save("kept.cfg");
  const std::string kept = read("kept.cfg");
  app::KeptPeakValues values = app::workspace().fit.kept;
  app::forget_kept_values();
  save("texts.cfg");
  const std::string texts = read("texts.cfg");
  // The same 56 lines, then the block: its mark and the nine refined values.
  ASSERT_EQ(kept.substr(0, texts.size()), texts);
  EXPECT_EQ(std::count(kept.begin(), kept.end(), '\n'), 56 + 1 + 9);
  EXPECT_EQ(kept.substr(texts.size(), 23), "full precision values\r\n");

  // Each value reads back as the same double.
  app::workspace().fit.kept = values;
  const std::vector<double> before = parameters();
  app::forget_kept_values();
  load("kept.cfg");
  EXPECT_EQ(parameters(), before);
}

TEST_F(KeptValues, ALoadedFieldEditedInTheFileStandsForItsOwnText) {
  app::REFINE_ON();
  save("kept.cfg");
  std::string text = read("kept.cfg");
  // Line 9 is slot 1's centre.
  std::size_t line = 0;
  for (int n = 1; n < 9; ++n) line = text.find("\r\n", line) + 2;
  text.replace(line, text.find("\r\n", line) - line, "284.0");
  std::ofstream(folder_ / "edited.cfg", std::ios::binary) << text;
  load("edited.cfg");
  EXPECT_EQ(app::Parameter(1, Param::Centre), 284.0);
  EXPECT_NE(app::kept_value(1, Param::Width), nullptr);

  // An old file, or anything but the block after line 56, leaves no value kept.
  std::ofstream(folder_ / "junk.cfg", std::ios::binary)
      << text.substr(0, text.find("full precision")) << "centre 1 3.5 285.0\r\n\"unclosed\r\n";
  load("junk.cfg");
  for (int k = 1; k <= 6; ++k)
    for (Param p : {Param::Centre, Param::Width, Param::Height})
      EXPECT_EQ(app::kept_value(k, p), nullptr);
}

TEST_F(KeptValues, TypingMakeDragAndFittingReplaceThem) {
  app::REFINE_ON();
  ASSERT_NE(app::kept_value(1, Param::Centre), nullptr);

  // Typing the very text the field shows still replaces the value behind it.
  const std::string shown = text_of(1, Param::Centre);
  rt::control_of(app::field_of(1, Param::Centre)).user_set_text(shown);
  EXPECT_EQ(app::kept_value(1, Param::Centre), nullptr);
  EXPECT_EQ(app::Parameter(1, Param::Centre), rt::val(shown));
  EXPECT_NE(app::kept_value(1, Param::Width), nullptr);

  // "Make" on slot 2.
  rt::set_text(app::EDIT(9), "286.0");
  app::make_peak(2);
  for (Param p : {Param::Centre, Param::Width, Param::Height})
    EXPECT_EQ(app::kept_value(2, p), nullptr);

  // "FITTING" replaces what it scans; a locked value stays kept.
  rt::set_check(app::lock_of(3, Param::Width), 1);
  app::BUTTON1_ON();
  EXPECT_EQ(app::kept_value(3, Param::Centre), nullptr);
  EXPECT_EQ(app::kept_value(3, Param::Height), nullptr);
  EXPECT_NE(app::kept_value(3, Param::Width), nullptr);
}

TEST_F(KeptValues, RowsMovedByTheirButtonsTakeTheirValuesAlong) {
  app::REFINE_ON();
  const std::vector<double> values = parameters();
  app::move_peak_down(1);
  EXPECT_EQ(app::Parameter(2, Param::Centre), values[0]);
  EXPECT_EQ(app::Parameter(1, Param::Centre), values[3]);
  app::delete_peak(1);  // slot 2 (the first peak) and 3 move up
  EXPECT_EQ(app::Parameter(1, Param::Centre), values[0]);
  EXPECT_EQ(app::Parameter(2, Param::Height), values[8]);
  EXPECT_EQ(app::kept_value(3, Param::Centre), nullptr);
}

// A width Refine shrank below 0.05 shows "0.0" after the redraw; FITTING then starts from the
// kept width instead of dividing by the 0 the text reads as.
TEST_F(KeptValues, ANarrowWidthShownAsZeroStillFits) {
  app::KeepParameter(3, Param::Width, 0.04, "0.04");
  app::DRAWGRAPH();
  ASSERT_EQ(text_of(3, Param::Width), "0.0");
  EXPECT_EQ(app::Parameter(3, Param::Width), 0.04);
  EXPECT_EQ(error_of([] { app::BUTTON1_ON(); }), 0);
  EXPECT_EQ(app::kept_value(3, Param::Width), nullptr);
}

}  // namespace
