// The drawn graph as pixels, the fields a draw writes back, the graph-setting buttons, and a
// draw that meets an empty or reversed range. The test program has no font engine, so no
// text is drawn and every margin pixel is exactly white.

#include <algorithm>
#include <cmath>

#include "../support/run_time_errors.h"
#include "app/commands/graph_commands.h"
#include "app/graph/drawgraph.h"
#include "app/graph/numarrange.h"
#include "app/graph/plot_mapping.h"
#include "app/workspace/peak_colours.h"
#include "graph_fixture.h"
#include "runtime/errors/error_report.h"

namespace {

using graph_testing::GraphTest;

constexpr rt::Colour kBlack = 0x000000, kWhite = 0xFFFFFF, kRed = 0x0000FF;
constexpr rt::Colour kBlue = 0xFF0000, kMagenta = 0xFF00FF, kGreen = 0x00FF00, kCyan = 0xFFFF00;

class DrawGraphTest : public GraphTest {
 protected:
  // 201 points, x 280 to 300 in tenths, on a y range 0 to 1000 fixed by the user.
  void flat(double y) {
    load(280, 300, 201, [=](double) { return y; });
    user_y("0", "1000");
  }
};

TEST_F(DrawGraphTest, MarginsWhiteFrameBlackCurvesClippedToThePlotArea) {
  // A peak twice as high as the range: it leaves the plot area at the top.
  load(280, 300, 201, [](double x) { return 2000 * std::exp(-(x - 290) * (x - 290) / 4); });
  user_y("0", "1000");
  app::DRAWGRAPH();
  for (int y = 0; y < 648; ++y) {
    for (int x = 0; x < 664; ++x) {
      const bool outside = x < 100 || x > 650 || y < 50 || y > 610;
      if (outside) {
        ASSERT_EQ(pixel(x, y), kWhite) << x << "," << y;
      }
      const bool frame = (x == 100 || x == 650) && y >= 50 && y <= 610;
      const bool frame_row = (y == 50 || y == 610) && x >= 100 && x <= 650;
      if (frame || frame_row) {
        ASSERT_EQ(pixel(x, y), kBlack) << x << "," << y;
      }
    }
  }
  // The top of the peak is cut off; its flank is inside.
  for (int y = 51; y < 600; ++y) ASSERT_EQ(pixel(375, y), kWhite) << y;
  const std::vector<int> flank = rows_of(280, kBlack);
  EXPECT_TRUE(std::any_of(flank.begin(), flank.end(), [](int y) { return y > 500 && y < 600; }));
}

TEST_F(DrawGraphTest, TheZeroRowAndTheTickMarks) {
  load(280, 300, 201, [](double) { return 0; });
  user_y("-500", "500");
  app::DRAWGRAPH();
  for (int x = 111; x < 650; ++x) ASSERT_EQ(pixel(x, 330), kBlack) << x;  // y = 0 halfway up
  // x ticks every unit, 10 pixels high from the bottom edge: 281 at 622.5, rounded to 623.
  for (int y = 600; y < 610; ++y) {
    EXPECT_EQ(pixel(623, y), kBlack) << y;
    EXPECT_EQ(pixel(375, y), kBlack) << y;  // 290
  }
  EXPECT_EQ(pixel(623, 599), kWhite);
  EXPECT_EQ(pixel(622, 605), kWhite);
  EXPECT_EQ(pixel(624, 605), kWhite);
  // y ticks every 100 (range 1000: unit 10^2), 10 pixels into the plot area from the left.
  for (int v = -500; v <= 500; v += 100) {
    const int row = row_of_value(v);
    SCOPED_TRACE(v);
    for (int x = 100; x <= 110; ++x) EXPECT_EQ(pixel(x, row), kBlack) << x;
    if (row == 50 || row == 610 || v == 0) continue;  // the frame and the spectrum
    EXPECT_EQ(pixel(111, row), kWhite);
    EXPECT_EQ(pixel(105, row + 1), kWhite);
  }
}

TEST_F(DrawGraphTest, TheSumIsRedOnlyWhenASlotIsPresent) {
  flat(0);
  app::DRAWGRAPH();
  EXPECT_EQ(count(kRed), 0);
  peak(3, "290", "500", "1");
  app::DRAWGRAPH();
  // The sum of one peak is that peak, and the peak lies on top.
  EXPECT_EQ(count(kRed), 0);
  EXPECT_GT(count(kGreen), 100);
  EXPECT_EQ(pixel(375, 330), kGreen);  // the top: 500 of 1000 is halfway up
}

TEST_F(DrawGraphTest, AHigherSlotLiesOnTopOfALowerOne) {
  flat(0);
  peak(1, "290", "500", "1");
  peak(4, "290", "500", "1");
  app::DRAWGRAPH();
  EXPECT_EQ(count(kBlue), 0);
  EXPECT_EQ(pixel(375, 330), kCyan);
}

TEST_F(DrawGraphTest, TheSumRunsAboveTwoOverlappingPeaks) {
  flat(0);
  // Point 100 lies at x = 290, column 375, between the two centres.
  const int sum_row = draw_two_overlapping_peaks();
  EXPECT_EQ(pixel(375, sum_row), kRed);
  const int peak_row = row_of_value(app::workspace().PEAKCURVE1.at(100));
  EXPECT_GT(peak_row, sum_row);
  EXPECT_EQ(pixel(375, peak_row), kMagenta);  // both peaks are equal there: slot 2 on top
  EXPECT_EQ(pixel(430, 330), kBlue);          // 288: the top of slot 1
  EXPECT_EQ(pixel(320, 330), kMagenta);       // 292
}

TEST_F(DrawGraphTest, AutomaticRangesAreWrittenBack) {
  struct Case {
    float x0, x1;
    std::string left, right, step;
  };
  const std::vector<Case> cases = {
      {280.4f, 295.7f, "295", "281", "1"}, {200, 460, "460", "200", "100"},
      {280.4f, 280.6f, "280", "281", "1"}, {1000, 1049.5f, "1049", "1000", "1"},
      {1000, 1050, "1050", "1000", "10"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.left);
    load(c.x0, c.x1, 101, [](double) { return 0; });
    app::workspace().DATAYMAX = app::workspace().YMAX = 12345;  // as if one point reached it
    app::DRAWGRAPH();
    EXPECT_EQ(text(3), c.left);
    EXPECT_EQ(text(4), c.right);
    EXPECT_EQ(text(5), c.step);
    EXPECT_EQ(text(6), "0");
    EXPECT_EQ(text(7), "12345");
    EXPECT_EQ(text(8), "1000");
  }
}

TEST_F(DrawGraphTest, ANarrowRangeShowsNoXTick) {
  // 280.4 to 280.6: the one tick, 281, lies 1000 pixels left of the picture.
  load(280.4f, 280.6f, 101, [](double) { return 1000; });
  user_y("0", "1000");
  app::DRAWGRAPH();
  for (int x = 101; x < 650; ++x)
    for (int y = 600; y < 610; ++y) ASSERT_EQ(pixel(x, y), kWhite) << x << "," << y;
}

TEST_F(DrawGraphTest, XUserRange) {
  // A spike at 284 shows where the axis puts it: 4 units from the right end, or the left.
  load(280, 300, 201, [](double x) { return std::fabs(x - 284) < 0.05 ? 900 : 500; });
  user_y("0", "1000");
  const int spike_row = 106;  // 900 of 1000
  user_x("300", "280");
  app::DRAWGRAPH();
  EXPECT_EQ(pixel(540, spike_row), kBlack);
  EXPECT_EQ(text(3), "300");
  EXPECT_EQ(text(4), "280");
  user_x("280", "300");  // typed in reverse: the axis is mirrored
  app::DRAWGRAPH();
  EXPECT_EQ(pixel(210, spike_row), kBlack);
  EXPECT_EQ(pixel(540, spike_row), kWhite);
  EXPECT_EQ(app::workspace().XMAX, 280);
  user_x("295.7", "280");
  app::DRAWGRAPH();
  EXPECT_EQ(app::workspace().XMAX, 295.7f);  // the plot reaches 295.7 at its left edge
  EXPECT_EQ(text(3), "295");                 // the field shows the last tick
  user_x("290", "");
  app::DRAWGRAPH();
  EXPECT_EQ(app::workspace().XMAX, 290);
  EXPECT_EQ(app::workspace().XMIN, 280);  // an empty field keeps its end
}

TEST_F(DrawGraphTest, BadUserStepsGiveWayToTheAutomaticStep) {
  flat(500);
  tick(1);
  for (const char* step : {"0", "-3", "none"}) {
    SCOPED_TRACE(step);
    set(5, step);
    app::DRAWGRAPH();
    EXPECT_EQ(text(5), "1");  // the step used
    EXPECT_EQ(pixel(623, 605), kBlack);
  }
  set(8, "abc");
  app::DRAWGRAPH();
  EXPECT_EQ(text(8), "abc");  // the y fields keep what the user typed
  EXPECT_EQ(pixel(105, 554), kBlack);
  set(5, "2.5");
  app::DRAWGRAPH();
  EXPECT_EQ(text(5), "2.5");
  EXPECT_EQ(pixel(581, 605), kBlack);  // 282.5: at 280 + 2.5 k from the first tick
  EXPECT_EQ(pixel(623, 605), kWhite);  // 281 is none
}

TEST_F(DrawGraphTest, AStepFarBelowAPixelStillEndsTheDraw) {
  load(-1, 1, 201, [](double) { return 500; });
  user_y("0", "1000");
  tick(1);
  set(5, "0.00001");  // 200000 ticks
  set(8, "0.001");    // a million
  app::DRAWGRAPH();
  // Every tick mark stands: a solid band rising from the bottom edge and one from the left.
  for (int x = 101; x < 650; x += 37) EXPECT_EQ(pixel(x, 605), kBlack) << x;
  for (int y = 51; y < 610; y += 37) EXPECT_EQ(pixel(105, y), kBlack) << y;
  EXPECT_EQ(text(5), ".00001");
}

TEST_F(DrawGraphTest, EveryDrawRoundsThePeakFields) {
  flat(0);
  peak(1, "290.06", "499.96", "1.25");
  app::DRAWGRAPH();
  EXPECT_EQ(text(12), "290.1");
  EXPECT_EQ(text(24), "500.0");
  EXPECT_EQ(text(18), "1.2");
  EXPECT_EQ(text(13), "");  // an absent slot stays empty
}

TEST(Numarrange, CentresThenHeightsThenWidths) {
  app::Session session;
  session.start();
  rt::set_text(app::EDIT(12), "1.25");
  rt::set_text(app::EDIT(13), "1D+300");  // beyond a single: the rounding stops here
  rt::set_text(app::EDIT(24), "12.345");
  rt::set_text(app::EDIT(18), "0.04");
  expect_error(6, [] { app::NUMARRANGE(); });
  EXPECT_EQ(rt::get_text(app::EDIT(12)), "1.2");
  EXPECT_EQ(rt::get_text(app::EDIT(24)), "12.345");
  EXPECT_EQ(rt::get_text(app::EDIT(18)), "0.04");
  rt::set_text(app::EDIT(13), "");
  app::NUMARRANGE();
  EXPECT_EQ(rt::get_text(app::EDIT(24)), "12.3");
  EXPECT_EQ(rt::get_text(app::EDIT(18)), "0.0");
}

TEST_F(DrawGraphTest, BeforeAnyLoadTheDrawFailsOnTheEmptyRange) {
  expect_error(5, [] { app::DRAWGRAPH(); });  // 0 / 0 at the first point
  EXPECT_EQ(text(3), "");
  EXPECT_EQ(count(kWhite), 664 * 648);
}

TEST_F(DrawGraphTest, AnEmptyUserRangeFailsBeforeAnyWriteBack) {
  flat(500);
  user_x("290", "290");
  peak(1, "285.55", "100", "1");
  expect_error(11, [] { app::DRAWGRAPH(); });
  EXPECT_EQ(text(3), "290");
  EXPECT_EQ(text(12), "285.55");
}

// A curve is mapped point by point before it is drawn: a point past the arrays fails the draw
// there, with the segments before it drawn all the same.
TEST_F(DrawGraphTest, ACurveThatFailsPartWayKeepsItsSegmentsBefore) {
  flat(500);
  app::Workspace& w = app::workspace();
  for (int i = 201; i <= 1001; ++i) w.XDATA.at(i) = 300;
  for (int i = 201; i <= 1000; ++i) w.YDATA.at(i) = 500;
  w.LASTPOINT = 1001;
  expect_error(9, [] { app::DRAWGRAPH(); });
  for (int x = 101; x < 650; ++x) ASSERT_EQ(pixel(x, row_of_value(500)), kBlack) << x;
}

TEST_F(DrawGraphTest, AReversedYRangeFailsAtTheYAxisKeepingTheDrawing) {
  // A file without points leaves the loader's start extents: x 10000 to 0, y 10000 to 0.
  app::Workspace& w = app::workspace();
  w.LASTPOINT = -1;
  w.DATAXMIN = 10000;
  w.DATAXMAX = 0;
  w.DATAYMIN = 10000;
  w.DATAYMAX = 0;
  set(6, "a");
  set(7, "b");
  set(8, "c");
  peak(1, "285.55", "100", "1");
  expect_error(5, [] { app::DRAWGRAPH(); });
  EXPECT_EQ(text(3), "0");  // the x axis came first
  EXPECT_EQ(text(4), "10000");
  EXPECT_EQ(text(5), "1");
  EXPECT_EQ(text(6), "a");
  EXPECT_EQ(text(7), "b");
  EXPECT_EQ(text(8), "c");
  EXPECT_EQ(text(12), "285.55");
  EXPECT_EQ(pixel(100, 300), kBlack);  // the frame stays
}

TEST_F(DrawGraphTest, TheProgramGoesOnAfterAFailedDraw) {
  press_button("FORM3", "BUTTON2");
  EXPECT_EQ(rt::reported_error_count(), 1);
  flat(500);
  press_button("FORM2", "BUTTON29");
  EXPECT_EQ(rt::reported_error_count(), 1);
  EXPECT_EQ(pixel(375, 330), kBlack);
  EXPECT_EQ(text(3), "300");
}

}  // namespace

#include "tests/support/quiet_platform.h"

namespace {

// Lets the window system in while a procedure runs, and can act as the user closing the main
// window there.
struct PumpWatcher : testing_support::QuietPlatform {
  int pumps = 0;
  bool close_main_window = false;
  void process_pending() override {
    ++pumps;
    if (close_main_window) rt::close_form_by_user(rt::main_form());
  }
};

// A long draw counts its statements like any procedure: it repaints every eleventh, and closing
// the main window meanwhile ends the program there, before the axes are written back.
TEST_F(DrawGraphTest, ALongDrawRepaintsAndEndsWhenTheMainWindowCloses) {
  PumpWatcher platform;
  start_session(&platform);
  load(280, 300, 1001, [](double x) { return 500 + 100 * std::sin(x); });
  peak(1, "290", "300", "2");
  press_button("FORM3", "BUTTON2");
  EXPECT_GE(platform.pumps, 3 * 1000 / 11);  // the spectrum, the sum and the peak at least

  set(3, "before");
  platform.close_main_window = true;
  EXPECT_THROW(press_button("FORM3", "BUTTON2"), rt::QuitRequested);
  EXPECT_EQ(text(3), "before");
  start_session(nullptr);  // the windows go while their platform is there
}

}  // namespace

#include "app/graph/axis_marks.h"
#include "runtime/picture/text_renderer.h"

namespace {

// Keeps every text the picture prints, with the pixel it starts at.
struct TextRecorder : rt::TextRenderer {
  std::vector<std::tuple<int, int, std::string>> printed;
  int draw_text(rt::Raster&, int x, int y, std::string_view utf8, const std::string&, int,
                rt::Colour) override {
    if (!utf8.empty()) printed.emplace_back(x, y, std::string(utf8));
    return 24;
  }
};

class FarAndCrowdedDraws : public DrawGraphTest {
 protected:
  void SetUp() override {
    DrawGraphTest::SetUp();
    rt::set_text_renderer(&texts_);
  }
  void TearDown() override {
    rt::set_text_renderer(nullptr);
    DrawGraphTest::TearDown();
  }
  // The x axis's numbers: those printed below the plot area.
  std::vector<std::string> x_labels() const {
    pixel(0, 0);  // texts reach the renderer when the picture's pixels are read
    std::vector<std::string> out;
    for (const auto& [x, y, text] : texts_.printed)
      if (y == 615) out.push_back(text);
    return out;
  }
  TextRecorder texts_;
};

// Curve points millions of pixels away are valid singles: the draw goes on, and the lines to
// them cross the plot area where they should.
TEST_F(FarAndCrowdedDraws, CurvesAndLabelsFarBeyondThePicture) {
  // y 0 to 0.002 over a peak of 12345: the peak's points lie 3.5e9 pixels above the picture.
  load(280, 300, 201, [](double x) { return std::fabs(x - 290) < 0.05 ? 12345 : 0.001; });
  user_y("0", "0.002");
  app::DRAWGRAPH();
  EXPECT_EQ(pixel(100, 300), kBlack);  // the frame
  EXPECT_EQ(text(3), "300");           // and the axes after it
  // The peak stands at 375 (x 290), its neighbours at 377.75 and 372.25: the lines towards it
  // barely lean within the picture.
  for (int row : {60, 200, 329}) {
    EXPECT_EQ(pixel(378, row), kBlack) << row;
    EXPECT_EQ(pixel(372, row), kBlack) << row;
    EXPECT_EQ(pixel(375, row), kWhite) << row;
  }
  EXPECT_EQ(pixel(200, row_of_value(0.001)), kBlack);  // the flat part

  // x 1e10 to 1e10 + 2048: the wide numbers from 0 on lie billions of pixels to the right.
  load(280, 300, 201, [](double) { return 0.001; });
  user_x("10000002048", "1E+10");
  app::DRAWGRAPH();
  EXPECT_EQ(text(4), "1E+10");
  EXPECT_EQ(pixel(100, 300), kBlack);
}

// Wide numbers that start on one pixel each add their ink: only the same text at the same
// place, or a number that could not reach the picture, is left out.
TEST_F(FarAndCrowdedDraws, EveryWideNumberThatCouldChangeAPixelIsPrinted) {
  load(0, 60000, 201, [](double) { return 500; });
  user_y("0", "1000");
  app::DRAWGRAPH();
  const std::vector<std::string> labels = x_labels();
  ASSERT_EQ(labels.size(), 601u);  // 0, 100, ... 60000, though some share a pixel
  EXPECT_EQ(labels.front(), " 0");
  EXPECT_EQ(labels.back(), " 60000");

  app::LabelSeries series(app::PICTURE(1), 664, 648, 24);
  texts_.printed.clear();
  series.print(300, 615, 1, [] { return std::string("a"); });
  series.print(300.2f, 615, 2, [] { return std::string("a"); });  // same text, same pixel
  series.print(300.4f, 615, 3, [] { return std::string("b"); });  // another text there
  series.print(800, 615, 4, [] { return std::string("c"); });     // beyond the picture
  series.print(299.6f, 615, 5, [] { return std::string("a"); });  // after "b": drawn again
  pixel(0, 0);
  EXPECT_EQ(texts_.printed.size(), 3u);
}

}  // namespace
