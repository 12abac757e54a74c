// Dragging peaks and the marker line on the graph, through the mouse events as the platform
// delivers them.

#include "app/graph/mouse_editing.h"
#include "../support/run_time_errors.h"
#include "app/graph/drawgraph.h"
#include "app/graph/plot_mapping.h"
#include "app/workspace/peak_colours.h"
#include "graph_fixture.h"
#include "runtime/errors/error_report.h"

namespace {

using graph_testing::GraphTest;
using rt::EventKind;

constexpr rt::Colour kBlack = 0x000000, kWhite = 0xFFFFFF, kRed = 0x0000FF;
constexpr rt::Colour kBlue = 0xFF0000, kMagenta = 0xFF00FF, kCyan = 0xFFFF00;

float mode() { return app::workspace().MOUSEMODE; }

class MouseTest : public GraphTest {
 protected:
  // x from 300 at the left to 280 at the right (27.5 pixels a unit), y 0 to 1000; slot 1 at
  // 290 (column 375) 500 high (row 330).
  void SetUp() override {
    GraphTest::SetUp();
    load(280, 300, 201, [](double) { return 100; });
    user_x("300", "280");
    user_y("0", "1000");
    peak(1, "290", "500", "1");
    app::DRAWGRAPH();
  }
  // The first row of column x in colour c.
  int row_of(int x, rt::Colour c) {
    const std::vector<int> rows = rows_of(x, c);
    EXPECT_FALSE(rows.empty()) << x;
    return rows.empty() ? -1 : rows.front();
  }
  static void dot(int x, int y, rt::Colour c) {
    rt::picture_set_colour(app::PICTURE(1), c);
    rt::LineCommand line;
    line.first = rt::PointF{static_cast<double>(x), static_cast<double>(y)};
    line.second = *line.first;
    rt::picture_line(app::PICTURE(1), line);
  }
};

TEST(ColourText, SixDigitsOfTheHexadecimalText) {
  const std::vector<std::pair<rt::Colour, std::string>> cases = {{0x0000FF, "0000FF"},
                                                                 {0xFFFFFF, "FFFFFF"},
                                                                 {0, "000000"},
                                                                 {0xFFFFFFFF, "FFFFFF"},
                                                                 {0xFF0080, "FF0080"}};
  for (const auto& [c, text] : cases) EXPECT_EQ(rt::six_hex_text(c), text);
  const char* slots[] = {"FF0000", "FF00FF", "00FF00", "FFFF00", "00FFFF", "FF0080"};
  for (int k = 0; k < 6; ++k) EXPECT_EQ(rt::six_hex_text(app::kPeakColours[k]), slots[k]);
}

TEST_F(MouseTest, DraggingTheCentreMovesItByThePointersTravel) {
  mouse(EventKind::MouseDown, 375, 330);
  EXPECT_EQ(mode(), 3);
  mouse(EventKind::MouseMove, 430, 330);
  EXPECT_EQ(pixel(430, 200), kWhite);  // no marker line while a peak is held
  mouse(EventKind::MouseUp, 430, 330);
  // 20 units over 550 pixels, 55 pixels to the right: the centre goes down by 2.
  EXPECT_EQ(text(12), "288.0");
  EXPECT_EQ(text(24), "500.0");
  EXPECT_EQ(mode(), 0);
  EXPECT_EQ(pixel(430, 330), kBlue);  // redrawn at its new place
  // Dragging down 56 pixels lowers the height by a tenth of the range; left raises the centre.
  mouse(EventKind::MouseDown, 430, 330);
  mouse(EventKind::MouseUp, 403, 386);
  EXPECT_EQ(text(12), "289.0");  // 27 pixels: a shift of -0.9818, truncated downward to -0.99
  EXPECT_EQ(text(24), "400.0");
}

TEST_F(MouseTest, TheCentreIsGrabbedWithinFivePixelsOfItsColumn) {
  const std::vector<std::pair<float, float>> presses = {
      {375, 3}, {379, 3}, {371, 3}, {380, 2}, {370, 2}};
  for (auto [x, expected] : presses) {
    mouse(EventKind::MouseDown, x, 330);
    EXPECT_EQ(mode(), expected) << x;
    app::workspace().MOUSEMODE = 0;  // no release: nothing changes
  }
}

TEST_F(MouseTest, DraggingTheCurveChangesTheWidth) {
  peak(2, "285", "500", "1");  // column 512.5
  app::DRAWGRAPH();
  const int row = row_of(542, kMagenta);
  mouse(EventKind::MouseDown, 542, row);
  EXPECT_EQ(mode(), 4);
  mouse(EventKind::MouseUp, 652, row + 40);  // 110 pixels: 5 * 110 / 550; up or down is ignored
  EXPECT_EQ(text(19), "2.0");
  EXPECT_EQ(text(13), "285.0");
  EXPECT_EQ(text(25), "500.0");
}

TEST_F(MouseTest, TheWidthStopsAtThreeTenths) {
  peak(2, "285", "500", "0.5");
  app::DRAWGRAPH();
  const int row = row_of(522, kMagenta);
  mouse(EventKind::MouseDown, 522, row);
  ASSERT_EQ(mode(), 4);
  mouse(EventKind::MouseUp, 12, row);
  EXPECT_EQ(text(19), ".3");  // "0.3", then rounded to one decimal by the redraw
}

TEST_F(MouseTest, TheLastPeakPixelInScanOrderDecides) {
  // Painted by hand into an empty part of the plot around (300, 200).
  dot(303, 198, app::kPeakColours[0]);
  dot(296, 201, app::kPeakColours[3]);
  mouse(EventKind::MouseDown, 300, 200);
  EXPECT_EQ(mode(), 8);  // slot 4: its pixel lies lower
  app::workspace().MOUSEMODE = 0;
  dot(303, 201, app::kPeakColours[0]);
  mouse(EventKind::MouseDown, 300, 200);
  EXPECT_EQ(mode(), 2);  // slot 1: same row, further right
  app::workspace().MOUSEMODE = 0;
  dot(305, 205, app::kPeakColours[5]);  // the bottom right corner of the square
  dot(306, 206, app::kPeakColours[1]);  // outside it
  mouse(EventKind::MouseDown, 300, 200);
  EXPECT_EQ(mode(), 12);
}

TEST_F(MouseTest, ThePeaksAndTheirSumAlone) {
  const int sum_row = draw_two_overlapping_peaks();
  ASSERT_EQ(pixel(375, sum_row), kRed);
  for (int y = sum_row - 5; y <= sum_row + 5; ++y)
    for (int x = 370; x <= 380; ++x)
      ASSERT_TRUE(pixel(x, y) == kRed || pixel(x, y) == kWhite) << x << "," << y;
  mouse(EventKind::MouseDown, 375, sum_row);
  EXPECT_EQ(mode(), 1);  // the sum is no peak: a marker drag
  app::workspace().MOUSEMODE = 0;
  mouse(EventKind::MouseDown, 200, 554);  // the spectrum alone
  EXPECT_EQ(mode(), 1);
}

TEST_F(MouseTest, AReleaseWithoutAPressOnlyShowsThePosition) {
  set(12, "290.06");
  mouse(EventKind::MouseMove, 300, 300);  // no press: no marker line
  EXPECT_EQ(pixel(300, 300), kWhite);
  EXPECT_EQ(text(9), "");
  const int black = count(kBlack);
  mouse(EventKind::MouseUp, 375, 610);
  EXPECT_EQ(text(9), "290");
  EXPECT_EQ(text(10), "0");
  EXPECT_EQ(text(12), "290.06");  // no redraw
  EXPECT_EQ(count(kBlack), black);
}

TEST_F(GraphTest, AFailedRedrawStillEndsThePress) {
  // Nothing loaded: the release's redraw fails on the empty range.
  mouse(EventKind::MouseDown, 200, 200);
  mouse(EventKind::MouseUp, 200, 200);
  EXPECT_EQ(rt::reported_error_count(), 1);
  EXPECT_EQ(mode(), 0);
  mouse(EventKind::MouseMove, 300, 300);
  EXPECT_EQ(pixel(300, 300), kWhite);  // no marker line follows the pointer
}

}  // namespace
