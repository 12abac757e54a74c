#include <gtest/gtest.h>

#include <cstring>

#include "app/commands/file_commands.h"
#include "app/files/image_export.h"
#include "app/files/result_export.h"
#include "app/workspace/peak_curves.h"
#include "files_fixture.h"
#include "runtime/files/file_channels.h"
#include "runtime/picture/picture_ops.h"

namespace files_test {
namespace {

std::uint32_t le32(const std::string& b, std::size_t at) {
  std::uint32_t v = 0;
  for (int i = 3; i >= 0; --i) v = v << 8 | static_cast<unsigned char>(b.at(at + i));
  return v;
}
std::uint32_t le16(const std::string& b, std::size_t at) {
  return static_cast<unsigned char>(b.at(at)) | static_cast<unsigned char>(b.at(at + 1)) << 8;
}

class ResultExport : public FilesTest {
 protected:
  int export_to(void (*command)(), const std::string& name) {
    answer_file(path(name));
    return run(command);
  }
};

TEST_F(ResultExport, NineUntrimmedNumbersALine) {
  app::Workspace& w = app::workspace();
  w.LASTPOINT = 2;
  const float x[] = {284, 284.5f, -1}, y[] = {1234567, .5f, -2.5f};
  for (int i = 0; i < 3; ++i) {
    w.XDATA.at(i) = x[i];
    w.YDATA.at(i) = y[i];
    for (int k = 1; k <= 6; ++k)
      app::peak_curve(w, k, i) = k == 1 ? .25f * (i + 1) : (k == 6 ? -1e-7f : 0);
    w.SUMCURVE.at(i) = 3;
  }
  w.XDATA.at(3) = 99;  // beyond LASTPOINT: not written
  ASSERT_EQ(export_to(app::SAVEASTEXT_ON, "r.csv"), 0);
  EXPECT_EQ(read_bytes("r.csv"),
            " 284, 1.23457E+06, .25, 0, 0, 0, 0,-1E-07, 3\r\n"
            " 284.5, .5, .5, 0, 0, 0, 0,-1E-07, 3\r\n"
            "-1,-2.5, .75, 0, 0, 0, 0,-1E-07, 3\r\n");
}

TEST_F(ResultExport, OneLineBeforeAnyLoadAndAfterAnEmptyLoad) {
  ASSERT_EQ(export_to(app::SAVEASTEXT_ON, "start.csv"), 0);
  EXPECT_EQ(read_bytes("start.csv"), " 0, 0, 0, 0, 0, 0, 0, 0, 0\r\n");
  app::workspace().LASTPOINT = -1;
  app::workspace().XDATA.at(0) = 7;
  ASSERT_EQ(export_to(app::BUTTON28_ON, "empty.csv"), 0);
  EXPECT_EQ(read_bytes("empty.csv"), " 7, 0, 0, 0, 0, 0, 0, 0, 0\r\n");
}

TEST_F(ResultExport, MenuAndButtonWriteTheSameBytesAndChangeNothing) {
  app::Workspace& w = app::workspace();
  w.LASTPOINT = 1000;
  for (int i = 0; i <= 1000; ++i) {
    w.XDATA.at(i) = 200 + i * .1f;
    w.YDATA.at(i) = static_cast<float>(i % 17) - 3;
    app::peak_curve(w, 6, i) = i * 1e-3f;
  }
  const ProgramState before = program_state();
  ASSERT_EQ(export_to(app::SAVEASTEXT_ON, "menu.csv"), 0);
  ASSERT_EQ(export_to(app::BUTTON28_ON, "button.csv"), 0);
  EXPECT_EQ(read_bytes("menu.csv"), read_bytes("button.csv"));
  EXPECT_EQ(app::result_lines().size(), 1001u);
  EXPECT_SAME_STATE(before, program_state());

  ASSERT_EQ(platform_.dialogs.size(), 2u);
  const std::vector<std::string> filters = {"CSV file(*.csv)", "そのほか(*.*)"};
  expect_dialog(platform_.dialogs[0], true, rt::kNullRef, "結果の保存", "*.csv", filters);
  expect_dialog(platform_.dialogs[1], true, app::controls().form2, "結果の保存", "*.csv", filters);
}

TEST_F(ResultExport, CancelAndFailuresLeaveNoFile) {
  answer_cancel();
  ASSERT_EQ(run(app::BUTTON28_ON), 0);
  EXPECT_TRUE(folder_names().empty());

  EXPECT_EQ(export_to(app::SAVEASTEXT_ON, "missing/r.csv"), 63);
  EXPECT_EQ(export_to(app::SAVEASTEXT_ON, "."), 55);  // a folder as target
  write_bytes("r.csv", "earlier");
  {
    FileSizeLimit limit(10);
    EXPECT_EQ(export_to(app::SAVEASTEXT_ON, "r.csv"), 67);
  }
  EXPECT_EQ(read_bytes("r.csv"), "earlier");
  EXPECT_EQ(folder_names(), std::vector<std::string>{"r.csv"});
  EXPECT_TRUE(rt::open_file_numbers().empty());
}

class ImageExport : public FilesTest {
 protected:
  int export_to(void (*command)(), const std::string& name) {
    answer_file(path(name));
    return run(command);
  }
  void draw_line(int x0, int y0, int x1, int y1, rt::Colour colour) {
    rt::picture_set_colour(app::PICTURE(1), colour);
    rt::LineCommand line;
    line.first = rt::PointF{static_cast<float>(x0), static_cast<float>(y0)};
    line.second = rt::PointF{static_cast<float>(x1), static_cast<float>(y1)};
    rt::picture_line(app::PICTURE(1), line);
  }
  // The live image objects, found by trying the references of the object table.
  static std::vector<rt::ObjRef> live_images() {
    std::vector<rt::ObjRef> found;
    for (std::int32_t id = 1; id < 2000; ++id)
      if (error_of([&] { rt::image_of(rt::ObjRef{id}); }) == 0) found.push_back(rt::ObjRef{id});
    return found;
  }
  // Blue, green, red of picture pixel (x, y) in a 664 x 648 file stored bottom-up.
  static std::string bmp_pixel(const std::string& bmp, int x, int y) {
    return bmp.substr(
        54 + static_cast<std::size_t>(647 - y) * 1992 + static_cast<std::size_t>(x) * 3, 3);
  }
};

TEST_F(ImageExport, TheGraphAsA24BitBmp) {
  draw_line(10, 20, 10, 20, 0xFF0000);  // one blue pixel
  ASSERT_EQ(export_to(app::SAVEASGRAPHICS_ON, "g.bmp"), 0);
  const std::string bmp = read_bytes("g.bmp");
  ASSERT_EQ(bmp.size(), 1290870u);
  EXPECT_EQ(bmp.substr(0, 2), "BM");
  EXPECT_EQ(le32(bmp, 2), 1290870u);
  EXPECT_EQ(le32(bmp, 6), 0u);
  EXPECT_EQ(le32(bmp, 10), 54u);
  EXPECT_EQ(le32(bmp, 14), 40u);
  EXPECT_EQ(le32(bmp, 18), 664u);
  EXPECT_EQ(le32(bmp, 22), 648u);
  EXPECT_EQ(le16(bmp, 26), 1u);
  EXPECT_EQ(le16(bmp, 28), 24u);
  EXPECT_EQ(le32(bmp, 30), 0u);
  EXPECT_EQ(le32(bmp, 34), 648u * 1992u);
  for (std::size_t at = 38; at < 54; at += 4) EXPECT_EQ(le32(bmp, at), 0u) << at;
  EXPECT_EQ(bmp_pixel(bmp, 10, 20), std::string("\xFF\0\0", 3));
  EXPECT_EQ(bmp_pixel(bmp, 11, 20), "\xFF\xFF\xFF");

  ASSERT_EQ(platform_.dialogs.size(), 1u);
  expect_dialog(platform_.dialogs[0], true, rt::kNullRef, "ファイルの保存", "*.bmp",
                {"bitmap(*.bmp)"});
  EXPECT_TRUE(live_images().empty());
}

TEST_F(ImageExport, TheCopyIsTakenBeforeTheDialog) {
  platform_.during_dialog = [&] { draw_line(0, 0, 663, 0, 0x00FF00); };
  ASSERT_EQ(export_to(app::BUTTON24_ON, "g.bmp"), 0);
  EXPECT_EQ(bmp_pixel(read_bytes("g.bmp"), 5, 0), "\xFF\xFF\xFF");
  EXPECT_EQ(platform_.dialogs.at(0).owner, app::controls().form2);
}

TEST_F(ImageExport, MenuAndButtonWriteTheSameFile) {
  draw_line(100, 50, 650, 610, 0x0000FF);
  ASSERT_EQ(export_to(app::SAVEASGRAPHICS_ON, "menu.bmp"), 0);
  ASSERT_EQ(export_to(app::BUTTON24_ON, "button.bmp"), 0);
  EXPECT_EQ(read_bytes("menu.bmp"), read_bytes("button.bmp"));
}

TEST_F(ImageExport, CancelAndFailuresLeaveNoFileAndNoImage) {
  std::vector<rt::ObjRef> during;
  platform_.during_dialog = [&] { during = live_images(); };
  answer_cancel();
  ASSERT_EQ(run(app::SAVEASGRAPHICS_ON), 0);
  EXPECT_EQ(during.size(), 1u) << "the image exists while the dialog is open";
  EXPECT_TRUE(live_images().empty());
  EXPECT_TRUE(folder_names().empty());

  EXPECT_EQ(export_to(app::BUTTON24_ON, "missing/g.bmp"), 57);
  EXPECT_TRUE(live_images().empty());

  write_bytes("g.bmp", "earlier");
  {
    FileSizeLimit limit(100000);
    EXPECT_EQ(export_to(app::BUTTON24_ON, "g.bmp"), 67);
  }
  EXPECT_EQ(read_bytes("g.bmp"), "earlier");
  EXPECT_EQ(folder_names(), std::vector<std::string>{"g.bmp"});
  EXPECT_TRUE(live_images().empty());
}

}  // namespace
}  // namespace files_test
