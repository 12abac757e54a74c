// Raw spectra into the workspace: the window, the background, what a load stores, that a
// refused load changes nothing, and the "Raw spectrum" window's command.

#include <gtest/gtest.h>

#include "app/commands/file_commands.h"
#include "app/commands/raw_window.h"
#include "app/files/raw_spectrum.h"
#include "app/workspace/workspace.h"
#include "files_fixture.h"
#include "runtime/dialogs/file_dialogs.h"
#include "runtime/forms/events.h"

namespace files_test {
namespace {

class RawLoading : public FilesTest {
 protected:
  rt::ObjRef raw_control(const char* name) {
    return rt::find_control(rt::find_live_form("FORM5")->ref(), name);
  }
  // Presses "Open..." on the raw-spectrum window as a user would, through its event.
  int press_open(const std::string& name) {
    answer_file(path(name));
    EXPECT_TRUE(rt::post_event(raw_control("BUTTON1"), rt::EventKind::On));
    const int before = rt::reported_error_count();
    rt::run_pending_events();
    return rt::reported_error_count() - before;
  }
  int load(const std::string& name, const std::string& bytes, const app::RawSettings& s) {
    write_bytes(name, bytes);
    return run([&] { app::load_raw_spectrum(path(name), s); });
  }
};

TEST_F(RawLoading, StoresWhatARecordLoadStores) {
  // A linear background from single end points: B = 10 throughout, so y - B is exact.
  app::RawSettings s;
  s.shirley = false;
  s.end_points = 1;
  ASSERT_EQ(load("peak.csv", "x,y\n5,10\n4,15\n3,30\n2,15\n1,10\n", s), 0);
  const app::Workspace& w = app::workspace();
  EXPECT_EQ(w.LASTPOINT, 4);
  const float xs[] = {5, 4, 3, 2, 1}, ys[] = {0, 5, 20, 5, 0};
  for (int i = 0; i < 5; ++i) {
    EXPECT_EQ(w.XDATA.at(i), xs[i]);
    EXPECT_EQ(w.YDATA.at(i), ys[i]);
  }
  // The record load's extents: y starts from 0 at the top, so YMIN stays 0 here.
  EXPECT_EQ(w.XMIN, 1);
  EXPECT_EQ(w.XMAX, 5);
  EXPECT_EQ(w.YMIN, 0);
  EXPECT_EQ(w.YMAX, 20);
  EXPECT_EQ(w.DATAXMIN, 1);
  EXPECT_EQ(w.DATAYMAX, 20);
  EXPECT_EQ(w.FILEPATH, path("peak.csv"));
  EXPECT_EQ(rt::get_text(app::EDIT(1)), "peak.csv");
}

TEST_F(RawLoading, TheWindowKeepsFileOrderAndItsEnds) {
  app::RawSettings s;
  s.shirley = false;
  s.end_points = 1;
  s.from = 2;
  s.to = 4;
  ASSERT_EQ(load("w.txt", "5 1\n4 2\n3 9\n2 4\n1 1\n", s), 0);
  const app::Workspace& w = app::workspace();
  ASSERT_EQ(w.LASTPOINT, 2);
  // B runs from 4 at x = 2 to 2 at x = 4.
  EXPECT_EQ(w.XDATA.at(0), 4);
  EXPECT_EQ(w.YDATA.at(0), 0);
  EXPECT_EQ(w.XDATA.at(1), 3);
  EXPECT_EQ(w.YDATA.at(1), 6);
  EXPECT_EQ(w.XDATA.at(2), 2);
  EXPECT_EQ(w.YDATA.at(2), 0);
  // A window that takes 1001 of 1201 points loads.
  std::string many;
  for (int i = 0; i <= 1200; ++i) many += std::to_string(i) + "," + std::to_string(i % 7) + "\n";
  s.from = 100;
  s.to = 1100;
  ASSERT_EQ(load("many.csv", many, s), 0);
  EXPECT_EQ(w.LASTPOINT, 1000);
}

TEST_F(RawLoading, ARefusedLoadChangesNothing) {
  std::string many;
  for (int i = 0; i <= 100000; ++i) many += std::to_string(i) + "," + std::to_string(i % 7) + "\n";
  app::RawSettings s;
  ASSERT_EQ(load("good.csv", "1,2\n2,4\n3,3\n", s), 0);
  app::OPENRAW_ON();
  const ProgramState before = program_state();
  app::RawSettings narrow = s, reversed = s, block = s;
  narrow.from = 50;
  narrow.to = 60;
  reversed.from = 5;
  reversed.to = 5;
  block.block = 0;
  const struct {
    const char* name;
    std::string bytes;
    app::RawSettings settings;
    int error;
    const char* detail;
  } cases[] = {
      {"one column", "1\n2\n", s, 58, "bad.txt line 1 holds one column only"},
      {"more than 100 000 points", many, s, 9,
       "100001 points lie between the lowest x and the highest x"},
      {"an empty window", "1,2\n2,3\n", narrow, 5,
       "no point lies between 50 and 60; the file's x runs from 1 to 2"},
      {"from equal to to", "1,2\n", reversed, 5, "X from and X to are both 5"},
      {"a block below 1", "1,2\n", block, 5, "VAMAS blocks are numbered from 1"},
      {"a value beyond single precision", "1,2\n3,1e39\n", s, 6, "bad.txt line 2"},
      // Points the graph cannot draw: the load would replace the spectrum, then fail to draw.
      {"one point", "285,10\n", s, 5, "only one point lies between the lowest x and the highest"},
      {"all at one x", "285,10\n285,20\n285,30\n", s, 5, "every point lies at x = 285"},
      {"all net values equal", "285,10\n284,10\n283,10\n", s, 5,
       "every value less its background is 0"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    write_bytes("bad.txt", c.bytes);
    try {
      app::load_raw_spectrum(path("bad.txt"), c.settings);
      ADD_FAILURE() << "loaded";
    } catch (const rt::RuntimeError& e) {
      EXPECT_EQ(e.number(), c.error);
      EXPECT_NE(e.detail().find(c.detail), std::string::npos) << e.detail();
    }
    EXPECT_SAME_STATE(before, program_state());
  }
  EXPECT_EQ(run([&] { app::load_raw_spectrum(path("missing.csv"), s); }), 63);
  EXPECT_SAME_STATE(before, program_state());
}

TEST_F(RawLoading, TheWindowsCommandAndItsFields) {
  app::OPENRAW_ON();
  ASSERT_NE(rt::find_live_form("FORM5"), nullptr);
  EXPECT_EQ(rt::get_check(raw_control("CHECK1")), 1);
  EXPECT_EQ(rt::get_text(raw_control("EDIT3")), "5");
  EXPECT_EQ(rt::get_text(raw_control("EDIT4")), "1");
  rt::set_text(raw_control("EDIT1"), " 2 ");
  rt::set_check(raw_control("CHECK1"), 0);
  rt::set_text(raw_control("EDIT3"), "1");
  write_bytes("s.csv", "1,1\n2,9\n3,5\n4,3\n");
  EXPECT_EQ(press_open("s.csv"), 0);
  ASSERT_EQ(platform_.dialogs.size(), 1u);
  expect_dialog(platform_.dialogs[0], false, rt::find_live_form("FORM5")->ref(),
                "ファイルのオープン", "*.txt",
                {"テキスト(*.txt,*.csv,*.dat,*.xy)", "VAMAS(*.vms)", "そのほか(*.*)"});
  EXPECT_EQ(app::workspace().LASTPOINT, 2);
  EXPECT_EQ(app::workspace().YDATA.at(0), 0);
  EXPECT_EQ(app::workspace().YDATA.at(1), -1);  // 5 under a line from 9 to 3

  // A field that is no number is refused before any dialog.
  rt::set_text(raw_control("EDIT3"), "five");
  EXPECT_EQ(error_of([] { app::raw_settings_from_window(); }), 5);
  EXPECT_TRUE(rt::post_event(raw_control("BUTTON1"), rt::EventKind::On));
  rt::run_pending_events();
  EXPECT_EQ(platform_.dialogs.size(), 1u);

  // Closed and asked for again: a new window with the start values.
  rt::destroy_form(rt::find_live_form("FORM5")->ref());
  app::OPENRAW_ON();
  EXPECT_EQ(rt::get_text(raw_control("EDIT3")), "5");
}

TEST_F(RawLoading, FittingStillAnswersItsOwnButton1) {
  app::OPENRAW_ON();
  rt::set_text(app::EDIT(43), "0");  // "FITTING" refuses a Skip of 0 with error 5
  const int before = rt::reported_error_count();
  EXPECT_TRUE(
      rt::post_event(rt::find_control(app::controls().form2, "BUTTON1"), rt::EventKind::On));
  rt::run_pending_events();
  EXPECT_EQ(rt::reported_error_count(), before + 1);
  EXPECT_TRUE(platform_.dialogs.empty());
}

}  // namespace
}  // namespace files_test
