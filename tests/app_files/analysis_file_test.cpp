// The analysis file: a session saved and opened again is the same session (every field, box,
// kept value, curve, background and the fit report), from a record load and from a raw load,
// also after the document and its spectrum moved; and a document that cannot be taken up is
// refused with an error naming it and what is wrong, changing nothing.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <filesystem>

#include "app/commands/analysis_file.h"
#include "app/commands/file_commands.h"
#include "app/commands/fit_commands.h"
#include "app/commands/graph_commands.h"
#include "app/commands/raw_window.h"
#include "app/files/analysis_json.h"
#include "app/files/spectrum_load.h"
#include "app/model/fit_report.h"
#include "app/workspace/components.h"
#include "app/workspace/peak_table.h"
#include "app/workspace/workspace.h"
#include "files_fixture.h"
#include "runtime/dialogs/file_dialogs.h"
#include "runtime/dialogs/message_box.h"
#include "runtime/errors/runtime_error.h"
#include "runtime/forms/menu_checks.h"

namespace files_test {
namespace {

using app::CHECK;
using app::EDIT;

// Everything a session is: the workspace (spectrum, curves, kept values, background, weighting),
// every control of every window, the menu's check marks and the last fit's report.
struct Session {
  app::Workspace workspace;
  ProgramState controls;
  bool weight_mark = false, background_mark = false;
  std::vector<std::string> report;
};

Session session() {
  Session s;
  s.workspace = app::workspace();
  s.controls = program_state();
  s.weight_mark = rt::menu_checked(app::kWeightCountsItem);
  s.background_mark = rt::menu_checked(app::kActiveBackgroundItem);
  if (const app::FitRecord* fit = app::last_fit())
    s.report = app::fit_report_lines(app::make_fit_report(*fit));
  return s;
}

void expect_same_session(const Session& a, const Session& b) {
  EXPECT_SAME_STATE(a.controls, b.controls);
  EXPECT_TRUE(a.workspace.fit == b.workspace.fit) << "kept values, measured or background differ";
  EXPECT_TRUE(a.workspace.PEAKCURVE1 == b.workspace.PEAKCURVE1 &&
              a.workspace.PEAKCURVE2 == b.workspace.PEAKCURVE2 &&
              a.workspace.SUMCURVE == b.workspace.SUMCURVE)
      << "the curves differ";
  EXPECT_TRUE(a.workspace == b.workspace) << "the workspace differs";
  EXPECT_EQ(a.weight_mark, b.weight_mark);
  EXPECT_EQ(a.background_mark, b.background_mark);
  EXPECT_EQ(a.report, b.report);
}

// Two peaks on a background that rises by a step under them, as a raw instrument file.
std::string raw_csv() {
  std::string out = "x,y\n";
  for (int i = 0; i <= 240; ++i) {
    const double x = 281 + 0.05 * i;
    const double y = 200 + 1000 * std::exp(-std::pow((x - 285) / 0.8, 2)) +
                     500 * std::exp(-std::pow((x - 287) / 0.9, 2)) +
                     150 / (1 + std::exp(-(x - 286) / 0.4));
    char line[64];
    std::snprintf(line, sizeof line, "%.2f,%.3f\n", x, y);
    out += line;
  }
  return out;
}

class AnalysisFile : public FilesTest {
 protected:
  int save(const std::string& name) {
    answer_file(path(name));
    return run(app::SAVEANALYSIS_ON);
  }
  int open(const std::string& name) {
    answer_file(path(name));
    return run(app::OPENANALYSIS_ON);
  }
  // The error an open raises and its detail.
  std::pair<int, std::string> refusal(const std::string& name) {
    answer_file(path(name));
    try {
      app::OPENANALYSIS_ON();
    } catch (const rt::RuntimeError& e) {
      return {e.number(), e.detail()};
    }
    return {0, ""};
  }

  void copy_example() {
    std::filesystem::copy_file(std::string(TESSALY_SOURCE_DIR) + "/examples/two_peaks.bgd",
                               path("two_peaks.bgd"));
  }

  // Two peaks fitted and refined on the example, with a shifted axis, a user range, a skewed
  // slot and a locked width: values that live behind the fields and boxes in every state.
  void fitted_record_session() {
    copy_example();
    app::load_spectrum(path("two_peaks.bgd"));
    rt::set_text(EDIT(11), "0.25");
    answer(rt::kNo);
    ASSERT_EQ(run(app::BUTTON4_ON), 0);  // "Collect": the x values move, the peaks do not
    rt::set_text(EDIT(12), "285.6");
    rt::set_text(EDIT(18), "1.5");
    rt::set_text(EDIT(24), "1700");
    rt::set_text(EDIT(13), "289.2");
    rt::set_text(EDIT(19), "2");
    rt::set_text(EDIT(25), "900");
    rt::set_check(CHECK(14), 1);  // "As" of slot 3, which is empty
    rt::set_text(EDIT(32), "0.1");
    rt::set_check(CHECK(25), 1);  // width lock, slot 2
    rt::set_text(EDIT(43), "2");
    rt::set_check(CHECK(1), 1);
    rt::set_text(EDIT(3), "296");
    rt::set_text(EDIT(4), "281");
    ASSERT_EQ(run(app::BUTTON1_ON), 0);
    ASSERT_EQ(run(app::REFINE_ON), 0);
    ASSERT_NE(app::kept_value(1, app::Param::Centre), nullptr);
  }

  // Changes to everything an open must put back.
  void disturb() {
    write_bytes("other.bgd", "1,2,1\r\n2,5,1\r\n3,2,1\r\n");
    app::load_spectrum(path("other.bgd"));
    for (int n : {3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 18, 19, 24, 25, 30, 32, 36, 42, 43})
      rt::set_text(EDIT(n), "7");
    for (int n : {1, 2, 9, 10, 13, 14, 18, 25, 30}) rt::set_check(CHECK(n), 2);
    app::set_weight_counts(true);
    app::forget_fit();
  }
};

TEST_F(AnalysisFile, ARecordSessionComesBackExactly) {
  fitted_record_session();
  const Session before = session();
  ASSERT_EQ(save("a.json"), 0);
  EXPECT_EQ(platform_.dialogs.back().title, "解析の保存");
  expect_dialog(platform_.dialogs.back(), true, rt::kNullRef, "解析の保存", "*.json",
                {"Analysis file(*.json)", "そのほか(*.*)"});
  const std::string text = read_bytes("a.json");
  for (unsigned char c : text) ASSERT_LT(c, 0x80) << "the document is ASCII";
  EXPECT_NE(text.find("\"path\": \"two_peaks.bgd\""), std::string::npos);

  disturb();
  ASSERT_EQ(open("a.json"), 0);
  expect_dialog(platform_.dialogs.back(), false, rt::kNullRef, "解析の読込", "*.json",
                {"Analysis file(*.json)", "そのほか(*.*)"});
  expect_same_session(before, session());

  // The document read and written again is the same text (but for the save's line ends).
  std::string lines = text;
  std::erase(lines, '\r');
  EXPECT_TRUE(app::analysis_json_text(app::parse_analysis(text, "a.json")) + "\n" == lines);
}

TEST_F(AnalysisFile, ADocumentMovedWithItsSpectrumFindsIt) {
  fitted_record_session();
  Session before = session();
  ASSERT_EQ(save("a.json"), 0);
  std::filesystem::create_directories(path("moved"));
  std::filesystem::rename(path("a.json"), path("moved/a.json"));
  std::filesystem::rename(path("two_peaks.bgd"), path("moved/two_peaks.bgd"));
  disturb();
  ASSERT_EQ(open("moved/a.json"), 0);
  before.workspace.FILEPATH = path("moved/two_peaks.bgd");
  before.controls.filepath = before.workspace.FILEPATH;
  expect_same_session(before, session());
}

TEST_F(AnalysisFile, ARawSessionComesBackWithItsLoadAndFittedBackground) {
  write_bytes("raw.csv", raw_csv());
  app::show_raw_window();
  rt::set_text(app::raw_window_control("EDIT1"), "293");
  rt::set_text(app::raw_window_control("EDIT2"), "281.5");
  rt::set_text(app::raw_window_control("EDIT3"), "8");
  rt::set_check(app::raw_window_control("CHECK2"), 1);  // Tougaard, B fitted
  rt::set_text(app::raw_window_control("EDIT9"), "1");
  answer_file(path("raw.csv"));
  ASSERT_EQ(run(app::open_raw_spectrum), 0);
  rt::set_text(EDIT(12), "285");
  rt::set_text(EDIT(18), "1");
  rt::set_text(EDIT(24), "900");
  rt::set_text(EDIT(13), "287");
  rt::set_text(EDIT(19), "1");
  rt::set_text(EDIT(25), "450");
  rt::set_menu_checked(app::kActiveBackgroundItem, true);
  app::ACTIVEBACKGROUND_ON();
  ASSERT_EQ(run(app::REFINE_ON), 0);
  ASSERT_TRUE(app::workspace().fit.background->fitted_with_peaks);
  // The window's fields change after the load: the document keeps both.
  rt::set_text(app::raw_window_control("EDIT3"), "3");
  rt::set_check(app::raw_window_control("CHECK2"), 0);
  const Session before = session();
  ASSERT_EQ(save("a.json"), 0);

  disturb();
  rt::set_text(app::raw_window_control("EDIT1"), "");
  ASSERT_EQ(open("a.json"), 0);
  expect_same_session(before, session());
  EXPECT_EQ(app::workspace().fit.background->load.end_points, 8);
  EXPECT_TRUE(app::workspace().fit.background->load.tougaard);
}

TEST_F(AnalysisFile, ComponentsBeyondTheSixComeBackWithTheirNamesAndLinks) {
  copy_example();
  app::load_spectrum(path("two_peaks.bgd"));
  rt::set_text(EDIT(12), "285.2");
  rt::set_text(EDIT(18), "1.6");
  rt::set_text(EDIT(24), "1800");
  app::set_component_name(1, "C-C");
  // Components G and H, H linked to G as a doublet partner, and A held within bounds.
  for (auto [k, centre] : {std::pair{7, "289"}, std::pair{8, "294.7"}}) {
    rt::set_text(app::field_of(k, app::Param::Centre), centre);
    rt::set_text(app::field_of(k, app::Param::Width), "1.2");
    rt::set_text(app::field_of(k, app::Param::Height), "300");
  }
  app::set_component_name(7, "Ti 2p3/2");
  app::set_component_name(8, "Ti 2p1/2");
  ASSERT_EQ(app::set_constraint_text(8, app::Param::Centre, "G+5.7#0.2"), "");
  ASSERT_EQ(app::set_constraint_text(8, app::Param::Height, "area=G*0.5"), "");
  ASSERT_EQ(app::set_constraint_text(8, app::Param::Width, "G*1"), "");
  ASSERT_EQ(app::set_constraint_text(1, app::Param::Centre, "284:286"), "");
  ASSERT_EQ(run(app::REFINE_ON), 0);
  ASSERT_NE(app::last_fit(), nullptr);
  const Session before = session();
  ASSERT_NE(before.report.front().find("constraints"), std::string::npos);
  ASSERT_EQ(save("a.json"), 0);
  EXPECT_NE(read_bytes("a.json").find("\"Ti 2p1/2\""), std::string::npos);

  disturb();
  ASSERT_EQ(app::set_constraint_text(8, app::Param::Centre, ""), "");
  app::set_component_name(7, "other");
  rt::set_text(app::field_of(9, app::Param::Centre), "300");
  ASSERT_EQ(open("a.json"), 0);
  expect_same_session(before, session());
  EXPECT_EQ(app::constraint_text(8, app::Param::Height), "area=G*0.5");
}

TEST_F(AnalysisFile, ASessionWithoutASpectrumComesBackEmpty) {
  rt::set_text(EDIT(12), "285");
  rt::set_text(EDIT(18), "1");
  rt::set_text(EDIT(24), "10");
  const Session before = session();
  ASSERT_EQ(save("a.json"), 0);
  disturb();
  ASSERT_EQ(open("a.json"), 0);
  expect_same_session(before, session());
}

TEST_F(AnalysisFile, ASpectrumOfUnknownFileIsNotSaved) {
  copy_example();
  app::load_spectrum(path("two_peaks.bgd"));
  answer_cancel();
  ASSERT_EQ(run(app::OPENFILE_ON), 0);  // the cancel mark takes the path's place
  answer_file(path("a.json"));
  try {
    app::SAVEANALYSIS_ON();
    ADD_FAILURE() << "saved";
  } catch (const rt::RuntimeError& e) {
    EXPECT_EQ(e.number(), 5);
    EXPECT_NE(e.detail().find("open the spectrum again"), std::string::npos) << e.detail();
  }
  EXPECT_FALSE(std::filesystem::exists(path("a.json")));
}

TEST_F(AnalysisFile, ADocumentThatCannotBeTakenUpChangesNothing) {
  fitted_record_session();
  ASSERT_EQ(save("good.json"), 0);
  const std::string good = read_bytes("good.json");
  const auto replaced = [&](const std::string& from, const std::string& to) {
    std::string text = good;
    const std::size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    return at == std::string::npos ? text : text.replace(at, from.size(), to);
  };
  struct Case {
    const char* what;
    std::string bytes;
    const char* detail;
  };
  const std::vector<Case> cases = {
      {"cut short", good.substr(0, good.size() / 2), "a.json: the file is damaged or not JSON"},
      {"not JSON", "0\r\n0\r\n285\r\n", "a.json: the file is damaged or not JSON"},
      {"another JSON", "{\"version\": 1}", "is not an analysis file"},
      {"nested deep", std::string(5000, '[') + std::string(5000, ']'), "nest far too deep"},
      {"later version", replaced("\"version\": 1", "\"version\": 2"),
       "of version 2, written by a later program"},
      {"skip as a number", replaced("\"skip\": \"2\"", "\"skip\": 2"), "fit.skip is not a text"},
      {"a lock of 7", replaced("\"lock\": 0", "\"lock\": 7"),
       "components[0].centre.lock is 7, not between 0 and 2"},
      {"a mixing ratio of 2",
       replaced("\"mixing_ratio\": 0.30000001192092896,", "\"mixing_ratio\": 2,"),
       "fit.mixing_ratio is out of its range"},
      {"a kept value of text", replaced("\"kept\": true", "\"kept\": \"yes\""),
       "components[0].centre.kept is not true or false"},
      {"a constraint that is no rule", replaced("\"constraint\": \"\"", "\"constraint\": \"A+\""),
       "component A has the centre constraint \"A+\""},
      {"a seventh component", replaced("\"label\": \"A\"", "\"label\": \"G\""),
       "components[0].label is \"G\" where A"},
      {"a field of two lines", replaced("\"text\": \"0.1\"", "\"text\": \"0.1\\n2\""),
       "holds a line end"},
      {"no points", replaced("\"points\"", "\"dots\""), "spectrum.points is missing"},
      {"a covariance of 3", replaced("\"covariance\": [", "\"covariance\": [1,2,3,"),
       "last_fit.covariance"},
  };
  const Session before = session();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    write_bytes("a.json", c.bytes);
    const auto [number, detail] = refusal("a.json");
    EXPECT_EQ(number, 5);
    EXPECT_NE(detail.find(c.detail), std::string::npos) << detail;
    EXPECT_NE(detail.find("Nothing was changed."), std::string::npos) << detail;
    expect_same_session(before, session());
  }

  // Its spectrum gone, or changed: the error names both files.
  std::filesystem::rename(path("two_peaks.bgd"), path("elsewhere.bgd"));
  auto [number, detail] = refusal("good.json");
  EXPECT_EQ(number, 63);
  EXPECT_NE(detail.find("good.json: its spectrum " + path("two_peaks.bgd")), std::string::npos)
      << detail;
  expect_same_session(before, session());
  write_bytes("two_peaks.bgd", "1,2,1\r\n2,5,1\r\n");
  std::tie(number, detail) = refusal("good.json");
  EXPECT_EQ(number, 5);
  EXPECT_NE(detail.find("now holds 2 points"), std::string::npos) << detail;
  expect_same_session(before, session());
}

}  // namespace
}  // namespace files_test
