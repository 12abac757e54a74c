#include <gtest/gtest.h>

#include "app/commands/file_commands.h"
#include "app/files/settings_file.h"
#include "files_fixture.h"
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

// 56 distinct lines: numbered texts for the fields, "1" for the check boxes.
std::vector<std::string> numbered_lines() {
  std::vector<std::string> lines;
  const auto items = app::settings_items();
  for (std::size_t n = 0; n < items.size(); ++n)
    lines.push_back(items[n].check_box ? "1" : "t" + std::to_string(n + 1));
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
  lines[0] = " 1 ";              // blanks dropped: checked
  lines[1] = "01";               // not exactly "1": unchecked
  lines[2] = "  a b  ";          // inner blanks kept
  lines[3] = "\"x,y\"";          // quoted: the comma belongs to the text
  lines[4] = "\x83s\x81[\x83N";  // ピーク in the code page
  lines.push_back("line 57 is never read");
  std::string bytes = crlf_lines(lines);
  write_bytes("a.cfg", bytes);
  ASSERT_EQ(load("a.cfg"), 0);
  EXPECT_EQ(rt::get_check(CHECK(1)), 1);
  EXPECT_EQ(rt::get_check(CHECK(2)), 0);
  EXPECT_EQ(rt::get_text(EDIT(3)), "a b");
  EXPECT_EQ(rt::get_text(EDIT(4)), "x,y");
  EXPECT_EQ(rt::get_text(EDIT(5)), "ピーク");
  EXPECT_EQ(rt::get_text(EDIT(35)), "t56");
}

TEST_F(SettingsFile, ACommaOrColonShiftsTheLaterItems) {
  for (const char* delimiter : {",", ":"}) {
    SCOPED_TRACE(delimiter);
    std::vector<std::string> lines = numbered_lines();
    lines[8] = std::string("284") + delimiter + "5";  // centre of slot 1
    write_bytes("a.cfg", crlf_lines(lines));
    ASSERT_EQ(load("a.cfg"), 0);
    EXPECT_EQ(rt::get_text(EDIT(12)), "284");
    EXPECT_EQ(rt::get_text(EDIT(18)), "5");    // item 10 takes the rest of line 9
    EXPECT_EQ(rt::get_text(EDIT(24)), "t10");  // item 11 takes line 10
    EXPECT_EQ(rt::get_check(CHECK(18)), 0);    // item 27 takes line 26, a field's text
    EXPECT_EQ(rt::get_text(EDIT(30)), "1");    // item 51 takes line 50, a check-box line
    EXPECT_EQ(rt::get_text(EDIT(35)), "t55");  // item 56 takes line 55; line 56 is not read
  }
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
