#include <gtest/gtest.h>

#include "app/commands/file_commands.h"
#include "app/files/settings_file.h"
#include "files_fixture.h"
#include "runtime/errors/runtime_error.h"
#include "runtime/files/file_channels.h"

namespace files_test {
namespace {

using app::CHECK;
using app::EDIT;

// Lines joined with CR LF, the last one too.
std::string crlf_lines(const std::vector<std::string>& lines) {
  std::string out;
  for (const std::string& line : lines) out += line + "\r\n";
  return out;
}

// 56 distinct lines: the line's number with a fraction for the fields, "1" for the check boxes.
std::vector<std::string> numbered_lines() {
  std::vector<std::string> lines;
  const auto items = app::settings_items();
  for (std::size_t n = 0; n < items.size(); ++n)
    lines.push_back(items[n].check_box ? "1" : std::to_string(n + 1) + ".5");
  return lines;
}

class SettingsFile : public FilesTest {
 protected:
  void set_example_controls() {
    rt::set_check(CHECK(1), 1);
    rt::set_check(CHECK(2), 2);  // grey is saved as unchecked
    rt::set_text(EDIT(3), "300");
    rt::set_text(EDIT(4), "280");
    rt::set_text(EDIT(5), "5");
    rt::set_text(EDIT(7), "1000");
    rt::set_text(EDIT(8), "200");
    rt::set_text(EDIT(12), "284.8");
    rt::set_text(EDIT(18), "1.5");
    rt::set_text(EDIT(24), "1000");
    rt::set_text(EDIT(13), "ピーク");
    rt::set_text(EDIT(19), "2 3");
    rt::set_check(CHECK(18), 1);  // centre lock, slot 1
    rt::set_check(CHECK(31), 1);  // height lock, slot 2
    rt::set_check(CHECK(24), 2);  // width lock, slot 1, grey
    rt::set_check(CHECK(29), 1);  // width lock, slot 6
    rt::set_check(CHECK(9), 1);   // "As", slot 1
    rt::set_check(CHECK(17), 1);  // "As", slot 6
    rt::set_text(EDIT(30), "0.2");
    rt::set_text(EDIT(35), "x");
  }
  int save(const std::string& name) {
    answer_file(path(name));
    return run(app::BUTTON22_ON);
  }
  int load(const std::string& name) {
    answer_file(path(name));
    return run(app::BUTTON23_ON);
  }
  // The number and the detail of the error a load raises.
  std::pair<int, std::string> refusal(const std::string& name) {
    answer_file(path(name));
    try {
      app::BUTTON23_ON();
    } catch (const rt::RuntimeError& e) {
      return {e.number(), e.detail()};
    }
    return {0, ""};
  }
  std::vector<std::string> item_values() {
    std::vector<std::string> values;
    for (const app::SettingsItem& item : app::settings_items())
      values.push_back(item.check_box ? std::to_string(rt::get_check(item.control))
                                      : rt::get_text(item.control));
    return values;
  }
};

TEST_F(SettingsFile, SaveWritesTheFiftySixLinesInTableOrder) {
  set_example_controls();
  ASSERT_EQ(save("a.cfg"), 0);
  const std::string expected = crlf_lines({
      "1",     "0",   "300",  "280",
      "5",     "",    "1000", "200",  // graph settings
      "284.8", "1.5", "1000", "\x83s\x81[\x83N",
      "2 3",   "",  // slots 1 and 2
      "",      "",    "",     "",
      "",      "",    "",     "",
      "",      "",    "",     "",  // slots 3 to 6
      "1",     "0",   "0",    "0",
      "0",     "0",  // centre locks
      "0",     "1",   "0",    "0",
      "0",     "0",  // height locks
      "0",     "0",   "0",    "0",
      "0",     "1",  // width locks
      "1",     "0",   "0",    "0",
      "0",     "1",  // "As"
      "0.2",   "",    "",     "",
      "",      "x",  // "Alpha"
  });
  EXPECT_EQ(read_bytes("a.cfg"), expected);

  ASSERT_EQ(platform_.dialogs.size(), 1u);
  expect_dialog(platform_.dialogs[0], true, app::controls().form2, "設定の保存", "*.cfg",
                {"Config file(*.cfg)", "そのほか(*.*)"});
}

TEST_F(SettingsFile, LoadRestoresWhatSaveWrote) {
  set_example_controls();
  // Only numbers load: these three replace the example's words.
  rt::set_text(EDIT(13), "289");
  rt::set_text(EDIT(19), "2.3");
  rt::set_text(EDIT(35), "-0.1");
  std::vector<std::string> saved = item_values();
  saved[1] = "0";  // the grey box comes back unchecked
  saved[39 - 1] = "0";
  ASSERT_EQ(save("a.cfg"), 0);

  for (const app::SettingsItem& item : app::settings_items()) {
    if (item.check_box)
      rt::set_check(item.control, 1);
    else
      rt::set_text(item.control, "other");
  }
  ASSERT_EQ(load("a.cfg"), 0);
  EXPECT_EQ(item_values(), saved);
  EXPECT_TRUE(rt::open_file_numbers().empty());

  ASSERT_EQ(platform_.dialogs.size(), 2u);
  expect_dialog(platform_.dialogs[1], false, app::controls().form2, "設定の読込", "*.cfg",
                {"Config file(*.cfg)", "そのほか(*.*)"});
}

TEST_F(SettingsFile, LoadReadsItemsByTheStringInput) {
  std::vector<std::string> lines = numbered_lines();
  lines[0] = " 1 ";         // blanks dropped: checked
  lines[1] = "2";           // grey comes back unchecked
  lines[2] = "  1.5E+3  ";  // a number as the fields may hold it
  lines[3] = "";            // an empty field
  lines[4] = "&H10";        // what VAL reads is a number
  lines.push_back("line 57 is never read, so it may hold anything");
  write_bytes("a.cfg", crlf_lines(lines));
  ASSERT_EQ(load("a.cfg"), 0);
  EXPECT_EQ(rt::get_check(CHECK(1)), 1);
  EXPECT_EQ(rt::get_check(CHECK(2)), 0);
  EXPECT_EQ(rt::get_text(EDIT(3)), "1.5E+3");
  EXPECT_EQ(rt::get_text(EDIT(4)), "");
  EXPECT_EQ(rt::get_text(EDIT(5)), "&H10");
  EXPECT_EQ(rt::get_text(EDIT(35)), "56.5");
}

// A file that is not a settings file is refused at the line that shows it, before any control
// changes: a spectrum, a cut-off file, a word in a number's place, a check state beyond 0-2, a
// line the string input would split (every later item would shift into the wrong control).
TEST_F(SettingsFile, AFileThatIsNotASettingsFileIsRefusedAtItsLine) {
  set_example_controls();
  const ProgramState before = program_state();
  struct Bad {
    const char* name;
    int line;
    std::string text;
    const char* says;
  };
  const Bad cases[] = {
      {"a word in a field", 9, "peak", "\"peak\" is not a number"},
      {"a number followed by a word", 51, "0.2x", "\"0.2x\" is not a number"},
      {"a check state of 3", 27, "3", "a check box's state is 0, 1 or 2, not \"3\""},
      {"an empty check line", 1, "", "a check box's state is 0, 1 or 2"},
      {"a comma", 10, "284,5", "\"284,5\" holds more than one value"},
      {"a colon", 12, "1:2", "\"1:2\" holds more than one value"},
      {"a quoted field", 3, "\"300\"", "holds more than one value"},
  };
  for (const Bad& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<std::string> lines = numbered_lines();
    lines[static_cast<std::size_t>(c.line - 1)] = c.text;
    write_bytes("bad.cfg", crlf_lines(lines));
    const auto [number, detail] = refusal("bad.cfg");
    EXPECT_EQ(number, 5);
    EXPECT_NE(detail.find("bad.cfg line " + std::to_string(c.line) + ": "), std::string::npos)
        << detail;
    EXPECT_NE(detail.find(c.says), std::string::npos) << detail;
    EXPECT_SAME_STATE(before, program_state());
    EXPECT_TRUE(rt::open_file_numbers().empty());
  }

  // A spectrum file: three numbers a line, its first item no check state.
  write_bytes("spectrum.bgd", "285.0,1200,30\r\n284.9,1210,30\r\n");
  EXPECT_EQ(load("spectrum.bgd"), 54);
  EXPECT_SAME_STATE(before, program_state());
  std::string spectrum;
  for (int i = 0; i < 60; ++i) spectrum += std::to_string(280 + i) + ".0 1200 30\r\n";
  write_bytes("spectrum.txt", spectrum);
  EXPECT_EQ(refusal("spectrum.txt").second.find("spectrum.txt line 1: "), 0u);
  EXPECT_SAME_STATE(before, program_state());
}

TEST_F(SettingsFile, ARefusedLoadChangesNothing) {
  set_example_controls();
  const ProgramState before = program_state();
  std::vector<std::string> short_file = numbered_lines();
  short_file.pop_back();
  struct Bad {
    const char* name;
    std::string bytes;
    int error;
  };
  const Bad cases[] = {
      {"55 lines", crlf_lines(short_file), 54},
      {"56 items on 28 lines",
       [] {
         std::vector<std::string> lines = numbered_lines();
         std::string bytes;
         for (std::size_t n = 0; n < lines.size(); n += 2)
           bytes += lines[n] + "," + lines[n + 1] + "\r\n";
         return bytes;
       }(),
       5},
      {"an empty file", "", 54},
      {"a field beyond the read buffer",
       std::string(40000, 'a') + "\r\n" + crlf_lines(numbered_lines()), 15},
  };
  for (const Bad& c : cases) {
    SCOPED_TRACE(c.name);
    write_bytes("bad.cfg", c.bytes);
    EXPECT_EQ(load("bad.cfg"), c.error);
    EXPECT_SAME_STATE(before, program_state());
    EXPECT_TRUE(rt::open_file_numbers().empty());
  }
  EXPECT_EQ(load("missing.cfg"), 63);
  EXPECT_SAME_STATE(before, program_state());
}

TEST_F(SettingsFile, CancelWritesAndReadsNothing) {
  set_example_controls();
  const ProgramState before = program_state();
  answer_cancel();
  ASSERT_EQ(run(app::BUTTON22_ON), 0);
  answer_cancel();
  ASSERT_EQ(run(app::BUTTON23_ON), 0);
  EXPECT_SAME_STATE(before, program_state());
  EXPECT_TRUE(folder_names().empty());
}

TEST_F(SettingsFile, AFailedSaveKeepsTheEarlierFileAndLeavesNoTemporary) {
  write_bytes("a.cfg", "earlier\r\n");
  set_example_controls();
  {
    FileSizeLimit limit(64);
    EXPECT_EQ(save("a.cfg"), 67);
  }
  EXPECT_EQ(read_bytes("a.cfg"), "earlier\r\n");
  EXPECT_EQ(folder_names(), std::vector<std::string>{"a.cfg"});
  EXPECT_TRUE(rt::open_file_numbers().empty());

  EXPECT_EQ(save("no such folder/a.cfg"), 63);
  EXPECT_EQ(folder_names(), std::vector<std::string>{"a.cfg"});

  // A complete save then replaces the earlier file.
  ASSERT_EQ(save("a.cfg"), 0);
  EXPECT_EQ(read_bytes("a.cfg").substr(0, 5), "1\r\n0\r");
  EXPECT_EQ(folder_names(), std::vector<std::string>{"a.cfg"});
}

}  // namespace
}  // namespace files_test
