#include <gtest/gtest.h>

#include <filesystem>

#include "../support/program_fixture.h"
#include "../support/run_time_errors.h"
#include "runtime/dialogs/clipboard.h"
#include "runtime/dialogs/file_dialogs.h"
#include "runtime/dialogs/message_box.h"
#include "runtime/errors/runtime_error.h"
#include "tests/support/quiet_platform.h"

namespace {

TEST(FilterList, EntriesKeepTheirTextAndPatterns) {
  auto filters =
      rt::parse_filter_list("BG subtracted data(*.bgd);rawファイル(*.txt,*.csv);そのほか(*.*)");
  ASSERT_EQ(filters.size(), 3u);
  EXPECT_EQ(filters[0].description, "BG subtracted data(*.bgd)");
  EXPECT_EQ(filters[0].patterns, std::vector<std::string>{"*.bgd"});
  EXPECT_EQ(filters[1].description, "rawファイル(*.txt,*.csv)");
  EXPECT_EQ(filters[1].patterns, (std::vector<std::string>{"*.txt", "*.csv"}));
  EXPECT_EQ(filters[2].patterns, std::vector<std::string>{"*.*"});

  auto two = rt::parse_filter_list("CSV file(*.csv);そのほか(*.*)");
  ASSERT_EQ(two.size(), 2u);
  EXPECT_EQ(two[1].description, "そのほか(*.*)");
}

TEST(FilterList, BlanksAndTabsInPatternsAreDropped) {
  auto filters = rt::parse_filter_list("text( *.txt ,\t*.dat )");
  ASSERT_EQ(filters.size(), 1u);
  EXPECT_EQ(filters[0].patterns, (std::vector<std::string>{"*.txt", "*.dat"}));
}

TEST(FilterList, AnEmptyListIsAllFilesAndAnEntryNeedsParentheses) {
  auto all = rt::parse_filter_list("");
  ASSERT_EQ(all.size(), 1u);
  EXPECT_EQ(all[0].description, "すべてのﾌｧｲﾙ(*.*)");
  EXPECT_EQ(error_of([] { rt::parse_filter_list("bitmap *.bmp"); }), 5);
  EXPECT_EQ(error_of([] { rt::parse_filter_list("bitmap(*.bmp);other"); }), 5);
  EXPECT_EQ(error_of([] { rt::parse_filter_list("bitmap(*.bmp"); }), 5);
}

TEST(FileDialog, InitialNameIsResolvedAgainstTheCurrentDirectory) {
  auto r = rt::make_file_dialog_request(false, rt::kNullRef, "設定の読込", "*.cfg",
                                        "Config file(*.cfg);そのほか(*.*)", 0);
  EXPECT_EQ(r.folder, std::filesystem::current_path().string());
  EXPECT_EQ(r.initial_name, "*.cfg");
  EXPECT_EQ(r.title, "設定の読込");
  EXPECT_TRUE(r.must_exist);
  EXPECT_EQ(r.filters.size(), 2u);
  auto save =
      rt::make_file_dialog_request(true, rt::kNullRef, "t", "/tmp/x/*.bmp", "bitmap(*.bmp)", 0);
  EXPECT_EQ(save.folder, "/tmp/x");
  EXPECT_TRUE(save.confirm_replace);
  EXPECT_FALSE(rt::make_file_dialog_request(true, rt::kNullRef, "t", "a", "", 1).confirm_replace);
  EXPECT_FALSE(rt::make_file_dialog_request(false, rt::kNullRef, "t", "a", "", 1).must_exist);
}

TEST(FileDialog, ArgumentLimits) {
  const std::string title64(64, 't'), initial260(260, 'n'),
      filter511 = std::string(506, 'f') + "(*.*)";
  EXPECT_EQ(error_of([&] {
              rt::make_file_dialog_request(false, {}, title64, initial260, filter511 + "x", 0);
            }),
            5);
  EXPECT_EQ(error_of([&] { rt::make_file_dialog_request(false, {}, title64 + "t", "a", "", 0); }),
            5);
  EXPECT_EQ(
      error_of([&] { rt::make_file_dialog_request(false, {}, "t", initial260 + "n", "", 0); }), 5);
  EXPECT_EQ(error_of([&] { rt::make_file_dialog_request(false, {}, "t", "a", "", 2); }), 5);
  EXPECT_EQ(error_of([&] {
              rt::make_file_dialog_request(false, {}, title64, "a", filter511.substr(1), 0);
            }),
            0);
  // Double-byte characters count two bytes: 33 of them are 66 bytes.
  std::string japanese;
  for (int i = 0; i < 33; ++i) japanese += "設";
  EXPECT_EQ(error_of([&] { rt::make_file_dialog_request(false, {}, japanese, "a", "", 0); }), 5);
}

// A platform that records what it was asked and answers as told.
struct Answering : testing_support::QuietPlatform {
  std::optional<std::string> answer;
  rt::FileDialogRequest seen;
  rt::MessageBoxRequest box;
  std::string clipboard;
  bool clipboard_opens = true;
  std::optional<std::string> file_dialog(const rt::FileDialogRequest& r) override {
    seen = r;
    return answer;
  }
  int message_box(const rt::MessageBoxRequest& r) override {
    box = r;
    return rt::kYes;
  }
  bool set_clipboard_text(const std::string& text) override {
    if (clipboard_opens) clipboard = text;
    return clipboard_opens;
  }
};

class DialogsTest : public ::testing::Test {
 protected:
  void SetUp() override { testing_support::renew_default_program(&platform); }
  void TearDown() override { testing_support::renew_default_program(); }
  Answering platform;
};

TEST_F(DialogsTest, CancelGivesTheCancelMark) {
  platform.answer = std::nullopt;
  std::string r = rt::open_file_dialog(rt::kNullRef, "ファイルのオープン", "*.bgd",
                                       "BG subtracted data(*.bgd)", 0);
  EXPECT_EQ(r, std::string(1, '\x1B'));
  EXPECT_EQ(r, rt::kCancelMark);
  EXPECT_NE(r, "");
  platform.answer = "/data/spectrum.bgd";
  EXPECT_EQ(
      rt::save_file_dialog(rt::kNullRef, "結果の保存", "*.csv", "CSV file(*.csv);そのほか(*.*)", 0),
      "/data/spectrum.bgd");
  EXPECT_TRUE(platform.seen.save);
  EXPECT_EQ(platform.seen.initial_name, "*.csv");
}

TEST_F(DialogsTest, MessageBoxChecksButtonsAndIcons) {
  EXPECT_EQ(rt::message_box(rt::kNullRef, "Confirm", "Correct axis of peaks?", rt::kButtonsYesNo,
                            rt::kIconQuestion),
            rt::kYes);
  EXPECT_EQ(platform.box.caption, "Confirm");
  EXPECT_EQ(platform.box.buttons, 4);
  EXPECT_EQ(platform.box.icon, 1);
  EXPECT_EQ(error_of([] {
              rt::message_box(rt::kNullRef, "c", "t", rt::MessageBoxButtons{6}, rt::kIconQuestion);
            }),
            5);
  EXPECT_EQ(error_of([] {
              rt::message_box(rt::kNullRef, "c", "t", rt::kButtonsOk, rt::MessageBoxIcon{5});
            }),
            5);
  EXPECT_EQ(error_of([] {
              rt::message_box(rt::kNullRef, "c", "t", rt::MessageBoxButtons{-1}, rt::kIconStop);
            }),
            5);
}

TEST_F(DialogsTest, ClipboardKeepsLineBreaksAndSkipsAClosedClipboard) {
  rt::set_clipboard_text("60.25,39.75\r\nsecond\tline");
  EXPECT_EQ(platform.clipboard, "60.25,39.75\r\nsecond\tline");
  platform.clipboard_opens = false;
  rt::set_clipboard_text("lost");  // no error
  EXPECT_EQ(platform.clipboard, "60.25,39.75\r\nsecond\tline");
}

}  // namespace
