#include <gtest/gtest.h>

#include "app/commands/file_commands.h"
#include "app/files/spectrum_load.h"
#include "app/workspace/workspace.h"
#include "files_fixture.h"
#include "runtime/dialogs/file_dialogs.h"
#include "runtime/files/file_channels.h"
#include "runtime/forms/statement_pump.h"

namespace files_test {
namespace {

struct Loaded {
  std::vector<float> x, y;
  float xmin, xmax, ymin;
  double ymax;
};

struct LoadCase {
  const char* name;
  std::string bytes;
  Loaded expected;
};

class SpectrumLoading : public FilesTest {
 protected:
  // The load itself, without the dialog and the redraw (which refuses degenerate ranges).
  int load(const std::string& name, const std::string& bytes) {
    write_bytes(name, bytes);
    return run([&] { app::load_spectrum(path(name)); });
  }
  // The command: dialog, load, redraw.
  int open(const std::string& name, const std::string& bytes) {
    write_bytes(name, bytes);
    answer_file(path(name));
    return run(app::FILEOPEN);
  }
  void expect_loaded(const Loaded& e) {
    const app::Workspace& w = app::workspace();
    ASSERT_EQ(w.LASTPOINT, static_cast<int>(e.x.size()) - 1);
    for (std::size_t i = 0; i < e.x.size(); ++i) {
      EXPECT_EQ(w.XDATA.at(static_cast<int>(i)), e.x[i]) << i;
      EXPECT_EQ(w.YDATA.at(static_cast<int>(i)), e.y[i]) << i;
    }
    EXPECT_EQ(w.XMIN, e.xmin);
    EXPECT_EQ(w.XMAX, e.xmax);
    EXPECT_EQ(w.YMIN, e.ymin);
    EXPECT_EQ(w.YMAX, e.ymax);
    EXPECT_EQ(w.DATAXMIN, e.xmin);
    EXPECT_EQ(w.DATAXMAX, e.xmax);
    EXPECT_EQ(w.DATAYMIN, e.ymin);
    EXPECT_EQ(w.DATAYMAX, e.ymax);
  }
};

TEST_F(SpectrumLoading, RecordsAreReadByTheFieldRules) {
  const LoadCase cases[] = {
      {"no records", "", {{}, {}, 10000, 0, 10000, 0}},
      {"backgrounds of 0 and below skipped", "1,5,0\r\n2,5,-1\r\n", {{}, {}, 10000, 0, 10000, 0}},
      {"any positive background accepted", "1,5,1E-30\r\n", {{1}, {5}, 1, 1, 5, 5}},
      {"negative y becomes the least", "3,1,4\r\n4,10,2\r\n", {{3, 4}, {-3, 8}, 3, 4, -3, 8}},
      {"a record over two lines", "1,2\r\n3\r\n", {{1}, {-1}, 1, 1, -1, 0}},
      {"two records on one line", "1,5,1,2,6,1\r\n", {{1, 2}, {4, 5}, 1, 2, 4, 5}},
      {"colons count as commas", "1:2:3\r\n", {{1}, {-1}, 1, 1, -1, 0}},
      {"blanks end a number", "  7 8   1\r\n", {{7}, {7}, 7, 7, 7, 7}},
      {"file order kept",
       "300,5,1\r\n100,4,1\r\n200,9,1\r\n",
       {{300, 100, 200}, {4, 3, 8}, 100, 300, 3, 8}},
      {"x above 10000 keeps XMIN at its start",
       "20000,5,1\r\n",
       {{20000}, {4}, 10000, 20000, 4, 4}},
      {"all y negative keeps YMAX at 0", "1,1,3\r\n2,1,2\r\n", {{1, 2}, {-2, -1}, 1, 2, -2, 0}},
      {"a final end-of-file mark", "1,2,1\r\n\x1A", {{1}, {1}, 1, 1, 1, 1}},
      {"no line end after the last record", "1,2,1", {{1}, {1}, 1, 1, 1, 1}},
      {"one zero byte after the last record",
       std::string("1,2,1\r\n\0", 8),
       {{1}, {1}, 1, 1, 1, 1}},
      {"zero bytes inside and after",
       std::string("1,\0"
                   "2,1\0\0",
                   9),
       {{1}, {1}, 1, 1, 1, 1}},
      {"the extents compare the unrounded y",
       "1,16777217,1E-8\r\n",
       {{1}, {16777216}, 1, 1, 10000, 16777216.0 - static_cast<double>(1E-8f)}},
  };
  for (const LoadCase& c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_EQ(load("s.bgd", c.bytes), 0);
    expect_loaded(c.expected);
    EXPECT_TRUE(rt::open_file_numbers().empty());
  }
}

TEST_F(SpectrumLoading, TheDialogAndTheTargetField) {
  ASSERT_EQ(open("スペクトル.bgd", "1,2,1\r\n3,5,1\r\n"), 0);
  ASSERT_EQ(platform_.dialogs.size(), 1u);
  expect_dialog(platform_.dialogs[0], false, rt::kNullRef, "ファイルのオープン", "*.bgd",
                {"BG subtracted data(*.bgd)", "rawファイル(*.txt,*.csv)", "そのほか(*.*)"});
  EXPECT_EQ(rt::get_text(app::EDIT(1)), "スペクトル.bgd");
  EXPECT_EQ(app::workspace().FILEPATH, path("スペクトル.bgd"));
}

TEST_F(SpectrumLoading, DisplayNameIsEverythingAfterTheLastSeparator) {
  EXPECT_EQ(app::display_name("/data/run 1/peaks.bgd"), "peaks.bgd");
  // ソ and 表 end in the byte of a backslash in the code page: no separator there.
  EXPECT_EQ(app::display_name("/data/ソ表\\x.bgd"), "ソ表\\x.bgd");
  EXPECT_EQ(app::display_name("plain.txt"), "plain.txt");
}

TEST_F(SpectrumLoading, ExactlyTheLimitLoadsAndOneMoreIsRefused) {
  std::string full;
  for (int i = 0; i < 1001; ++i) full += std::to_string(i) + ",10,1\r\n";
  ASSERT_EQ(load("full.bgd", full), 0);
  EXPECT_EQ(app::workspace().LASTPOINT, 1000);
  EXPECT_EQ(app::workspace().XDATA.at(1000), 1000);

  // A skipped 1002nd record is no point.
  ASSERT_EQ(load("skipped.bgd", full + "5000,1,0\r\n"), 0);
  EXPECT_EQ(app::workspace().LASTPOINT, 1000);

  const ProgramState before = program_state();
  EXPECT_EQ(load("over.bgd", "1,2,1\r\n" + full), 9);
  EXPECT_SAME_STATE(before, program_state());
  EXPECT_TRUE(rt::open_file_numbers().empty());
}

TEST_F(SpectrumLoading, ARefusedLoadChangesNothing) {
  struct Bad {
    const char* name;
    std::string bytes;
    int error;
  };
  const Bad cases[] = {
      {"an empty line after the last record", "1,2,1\r\n4,5,1\r\n\r\n", 58},
      {"line feeds alone end no field", "1,2,1\n4,5,1\n", 58},
      {"a header line", "Wavelength,Intensity,Background\r\n1,2,1\r\n", 58},
      {"a blank after the last record", "1,2,1\r\n ", 58},
      {"the file ends inside a record", "1,2,1\r\n3,4\r\n", 54},
      {"an empty field", "1,,1\r\n", 58},
      {"a quoted number", "\"1\",2,1\r\n", 58},
      {"a number beyond the single range", "1E+39,2,1\r\n", 6},
      {"a difference beyond the single range", "1,-3E+38,3E+38\r\n", 6},
  };
  ASSERT_EQ(open("good.bgd", "10,20,5\r\n30,40,5\r\n20,60,5\r\n"), 0);
  rt::set_text(app::EDIT(3), "not redrawn");  // a redraw would write the x range here
  const ProgramState before = program_state();
  for (const Bad& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(open("bad.bgd", c.bytes), c.error);
    EXPECT_SAME_STATE(before, program_state());
    EXPECT_TRUE(rt::open_file_numbers().empty());
  }
  answer_file(path("missing.bgd"));
  EXPECT_EQ(run(app::FILEOPEN), 63);
  EXPECT_SAME_STATE(before, program_state());
  EXPECT_EQ(rt::get_text(app::EDIT(1)), "good.bgd");
}

TEST_F(SpectrumLoading, CancelKeepsTheSpectrumMarksThePathAndRedraws) {
  ASSERT_EQ(open("good.bgd", "10,20,5\r\n30,40,5\r\n"), 0);
  rt::set_text(app::EDIT(3), "before the redraw");
  ProgramState before = program_state();
  answer_cancel();
  ASSERT_EQ(run(app::BUTTON3_ON), 0);
  EXPECT_EQ(app::workspace().FILEPATH, rt::kCancelMark);
  EXPECT_EQ(rt::get_text(app::EDIT(3)), "30") << "the redraw writes the x range back";
  EXPECT_EQ(rt::get_text(app::EDIT(1)), "good.bgd");
  before.filepath = rt::kCancelMark;
  ProgramState after = program_state();
  EXPECT_EQ(after.x, before.x);
  EXPECT_EQ(after.y, before.y);
  EXPECT_EQ(after.lastpoint, before.lastpoint);
  EXPECT_EQ(after.dataxmax, before.dataxmax);
  EXPECT_EQ(after.dataymin, before.dataymin);
}

TEST_F(SpectrumLoading, PointsBeyondTheNewLastPointStay) {
  ASSERT_EQ(load("three.bgd", "1,2,1\r\n2,3,1\r\n3,4,1\r\n"), 0);
  ASSERT_EQ(load("one.bgd", "7,9,1\r\n"), 0);
  const app::Workspace& w = app::workspace();
  EXPECT_EQ(w.LASTPOINT, 0);
  EXPECT_EQ(w.XDATA.at(0), 7);
  EXPECT_EQ(w.XDATA.at(2), 3);
  EXPECT_EQ(w.YDATA.at(2), 3);
}

TEST_F(SpectrumLoading, LoadingLeavesThePeakTableAlone) {
  rt::set_text(app::EDIT(12), "284.8");
  rt::set_text(app::EDIT(18), "1.5");
  rt::set_check(app::CHECK(18), 2);
  ASSERT_EQ(open("s.bgd", "1,2,1\r\n3,4,2\r\n"), 0);
  EXPECT_EQ(rt::get_text(app::EDIT(12)), "284.8");
  EXPECT_EQ(rt::get_check(app::CHECK(18)), 2);
}

// A long file is read as a procedure reads it, a record a statement: the windows repaint every
// eleventh record, and closing the main window meanwhile ends the program before anything of
// the workspace changes.
TEST_F(SpectrumLoading, ALongFileRepaintsAndEndsWhenTheMainWindowCloses) {
  std::string bytes;
  for (int i = 0; i < 2200; ++i) bytes += std::to_string(i) + ",5," + (i % 3 ? "0" : "1") + "\r\n";
  write_bytes("long.bgd", bytes);
  rt::publish_procedure("LOADLONG_ON", [&] { app::load_spectrum(path("long.bgd")); });
  rt::reset_statement_count();
  rt::post_menu_event("loadlong");
  rt::run_pending_events();
  EXPECT_EQ(platform_.pumps, 2200 / 11);
  EXPECT_EQ(app::workspace().LASTPOINT, 733);

  ASSERT_EQ(load("one.bgd", "7,9,1\r\n"), 0);
  const ProgramState before = program_state();
  platform_.during_pump = [] { rt::close_form_by_user(rt::main_form()); };
  rt::post_menu_event("loadlong");
  EXPECT_THROW(rt::run_pending_events(), rt::QuitRequested);
  EXPECT_SAME_STATE(before, program_state());
}

}  // namespace
}  // namespace files_test
