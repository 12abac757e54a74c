// The fit view: round ticks and labels that never overprint, the curves where the data put
// them, the residual and its counting scale, the view of the workspace after a load, and the
// window that follows the graph's redraws.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "../support/program_fixture.h"
#include "app/files/raw_spectrum.h"
#include "app/files/spectrum_load.h"
#include "app/graph/drawgraph.h"
#include "app/graph/fit_view.h"
#include "app/graph/fit_view_window.h"
#include "app/graph/round_ticks.h"
#include "app/workspace/control_refs.h"
#include "app/workspace/workspace.h"
#include "runtime/forms/control_values.h"
#include "runtime/forms/events.h"
#include "runtime/forms/objects.h"
#include "runtime/picture/drawing.h"
#include "runtime/picture/picture_ops.h"

namespace {

using rt::DrawStep;

TEST(RoundTicks, StepsAreOneTwoOrFiveTimesAPowerOfTen) {
  const struct {
    double minimum, step;
  } rows[] = {{0.7, 1},     {1, 1},     {1.01, 2},       {2, 2},      {2.1, 5},
              {4.99, 5},    {5.01, 10}, {0.0031, 0.005}, {0.3, 0.5},  {130, 200},
              {1e-7, 1e-7}, {3e6, 5e6}, {0.1, 0.1},      {1000, 1000}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.minimum);
    EXPECT_DOUBLE_EQ(app::round_step_at_least(row.minimum), row.step);
  }
  EXPECT_DOUBLE_EQ(app::next_round_step(1), 2);
  EXPECT_DOUBLE_EQ(app::next_round_step(2), 5);
  EXPECT_DOUBLE_EQ(app::next_round_step(5), 10);
  EXPECT_DOUBLE_EQ(app::next_round_step(0.05), 0.1);
}

TEST(RoundTicks, TicksAndTheirTexts) {
  EXPECT_EQ(app::ticks_within(283.3, 290.1, 2), (std::vector<double>{284, 286, 288, 290}));
  // Ends on a tick are kept though the arithmetic lands a hair off.
  EXPECT_EQ(app::ticks_within(0.1 * 3, 0.1 * 7, 0.1).size(), 5u);
  const struct {
    double value, step;
    const char* text;
  } rows[] = {{284, 2, "284"},       {0.2, 0.2, "0.2"},   {-0.0000001, 0.5, "0.0"},
              {-1.5, 0.5, "-1.5"},   {1400, 200, "1400"}, {0.05, 0.05, "0.05"},
              {2e6, 1e6, "2000000"}, {-1e-17, 1, "0"}};
  for (const auto& row : rows) EXPECT_EQ(app::tick_text(row.value, row.step), row.text);
}

// Every text step of a view as a box in pixels.
struct Box {
  double left, top, right, bottom;
  std::string text;
};
std::vector<Box> text_boxes(const rt::Drawing& d) {
  std::vector<Box> boxes;
  for (const DrawStep& s : d.steps) {
    if (s.kind != DrawStep::Kind::kText) continue;
    const double width = rt::text_width(s.text, s.text_height);
    const double left = rt::text_left(s, width);
    boxes.push_back({left, s.points[0].y, left + width, s.points[0].y + s.text_height, s.text});
  }
  return boxes;
}

app::FitViewData straight_data(double x0, double x1, double y0, double y1, int n = 201) {
  app::FitViewData d;
  for (int i = 0; i < n; ++i) {
    const double t = static_cast<double>(i) / (n - 1);
    d.x.push_back(x0 + (x1 - x0) * t);
    d.measured.push_back(y0 + (y1 - y0) * t);
    d.background.push_back(y0);
  }
  return d;
}

TEST(FitViewLabels, NoTwoLabelsOverlapForAnyRangeFromTwoToFourteenHundred) {
  for (double span : {2.0, 2.7, 3.3, 5.0, 7.9, 12.0, 25.0, 48.0, 99.0, 150.0, 333.0, 640.0, 999.0,
                      1200.0, 1400.0}) {
    for (double top : {3.0, 87.0, 12345.0, 2.5e6}) {
      SCOPED_TRACE(std::to_string(span) + " eV, top " + std::to_string(top));
      const double x1 = span > 1000 ? 1400 : 280 + span;
      const app::FitView v = app::build_fit_view(straight_data(x1 - span, x1, -top / 7, top));
      const std::vector<Box> boxes = text_boxes(v.drawing);
      int x_labels = 0;
      for (const Box& b : boxes) {
        EXPECT_GE(b.left, 0) << b.text;
        EXPECT_LE(b.right, v.drawing.width) << b.text;
        if (b.top > v.layout.strip.bottom && b.bottom < v.layout.strip.bottom + 20) ++x_labels;
      }
      EXPECT_GE(x_labels, 2);  // an axis that says where it is
      for (std::size_t i = 0; i < boxes.size(); ++i)
        for (std::size_t j = i + 1; j < boxes.size(); ++j) {
          const Box &a = boxes[i], &b = boxes[j];
          const bool apart =
              a.right <= b.left || b.right <= a.left || a.bottom <= b.top || b.bottom <= a.top;
          EXPECT_TRUE(apart) << "\"" << a.text << "\" and \"" << b.text << "\"";
        }
    }
  }
}

const DrawStep* step_of_colour(const rt::Drawing& d, DrawStep::Kind kind, rt::Colour colour) {
  for (const DrawStep& s : d.steps)
    if (s.kind == kind && s.colour == colour && s.points.size() > 2) return &s;
  return nullptr;
}

// Two components on a sloping background; measured = background + sum + a known misfit.
app::FitViewData two_peaks() {
  app::FitViewData d;
  d.components = {{1, {}}, {3, {}}};
  for (int i = 0; i <= 300; ++i) {
    const double x = 280 + 0.05 * i;
    const double a = 1000 * std::exp(-(x - 285) * (x - 285));
    const double b = 400 * std::exp(-(x - 289) * (x - 289));
    d.x.push_back(x);
    d.background.push_back(500 + 2 * i);
    d.components[0].y.push_back(a);
    d.components[1].y.push_back(b);
    d.sum.push_back(a + b);
    d.measured.push_back(d.background.back() + a + b + (i == 100 ? 30 : 0));
  }
  return d;
}

TEST(FitView, CurvesStandOnTheBackgroundAndHigherEnergyIsOnTheLeft) {
  const app::FitViewData d = two_peaks();
  const app::FitView v = app::build_fit_view(d);
  const app::FitViewLayout& l = v.layout;
  EXPECT_DOUBLE_EQ(l.px(295), l.plot.left);
  EXPECT_DOUBLE_EQ(l.px(280), l.plot.right);
  const DrawStep* background = step_of_colour(v.drawing, DrawStep::Kind::kPolyline, 0x808080);
  const DrawStep* envelope = step_of_colour(v.drawing, DrawStep::Kind::kPolyline, 0x0000FF);
  const DrawStep* peak1 = step_of_colour(v.drawing, DrawStep::Kind::kPolyline, 0xFF0000);
  const DrawStep* peak3 = step_of_colour(v.drawing, DrawStep::Kind::kPolyline, 0x00FF00);
  ASSERT_TRUE(background && envelope && peak1 && peak3);
  for (std::size_t i = 0; i < d.x.size(); i += 25) {
    SCOPED_TRACE(i);
    EXPECT_NEAR(background->points[i].y, l.py(d.background[i]), 1e-9);
    EXPECT_NEAR(envelope->points[i].y, l.py(d.background[i] + d.sum[i]), 1e-9);
    EXPECT_NEAR(peak1->points[i].y, l.py(d.background[i] + d.components[0].y[i]), 1e-9);
    EXPECT_NEAR(peak3->points[i].y, l.py(d.background[i] + d.components[1].y[i]), 1e-9);
  }
  // Everything drawn lies within the plot's range.
  for (double v2 : {d.measured[60], d.background.back() + 0.0})
    EXPECT_TRUE(l.py(v2) >= l.plot.top && l.py(v2) <= l.plot.bottom);
  // The residual is the one misfit, drawn on the strip's zero line elsewhere.
  EXPECT_DOUBLE_EQ(v.residual[100], 30);
  EXPECT_NEAR(v.residual[101], 0, 1e-9);
  EXPECT_DOUBLE_EQ(l.pr(0), (l.strip.top + l.strip.bottom) / 2);
  EXPECT_GE(l.r_half, 30);
  EXPECT_EQ(v.state, "points 301; components 1,3; residual in counts; rms 1.729; largest 30");
}

TEST(FitView, CountingWeightsScaleTheResidualBySqrtOfTheCounts) {
  app::FitViewData d = two_peaks();
  d.measured[5] = 0.25;  // fewer than one count: sigma 1
  d.background[5] = 0.25 - d.sum[5] - 2;
  d.counting_weights = true;
  const app::FitView v = app::build_fit_view(d);
  EXPECT_NEAR(v.residual[100], 30 / std::sqrt(d.measured[100]), 1e-12);
  EXPECT_NEAR(v.residual[5], 2, 1e-12);
  EXPECT_NE(v.state.find("in counting sigmas"), std::string::npos);
  bool labelled = false;
  for (const DrawStep& s : v.drawing.steps)
    labelled |=
        s.kind == DrawStep::Kind::kText && s.text.find("counting sigma") != std::string::npos;
  EXPECT_TRUE(labelled);
}

TEST(FitView, OddInputStillGivesAView) {
  app::FitViewData one = straight_data(285, 285, 10, 10, 1);
  EXPECT_EQ(app::build_fit_view(one).state.substr(0, 8), "points 1");
  app::FitViewData gaps = two_peaks();
  gaps.measured[3] = NAN;
  gaps.x[7] = INFINITY;
  gaps.background.resize(10);  // short lists count as missing values
  const app::FitView v = app::build_fit_view(gaps);
  for (const Box& b : text_boxes(v.drawing)) EXPECT_TRUE(std::isfinite(b.left)) << b.text;
  EXPECT_TRUE(std::isfinite(v.layout.y_low) && std::isfinite(v.layout.y_high));
  // Values at the ends of the single range: a view without ticks, drawn without a fault.
  app::FitViewData huge = straight_data(280, 290, -3e38, 3e38);
  const app::FitView h = app::build_fit_view(huge);
  rt::Raster raster = rt::rasterize(h.drawing, 1);
  EXPECT_EQ(raster.width(), app::kFitViewWidth);
}

// ---- The view of the program's workspace ----

class FitViewProgramTest : public testing_support::ProgramTest {
 protected:
  std::filesystem::path folder_ =
      std::filesystem::temp_directory_path() / ("fit_view_test_" + std::to_string(::getpid()));
  void SetUp() override {
    ProgramTest::SetUp();
    std::filesystem::create_directories(folder_);
  }
  void TearDown() override {
    std::filesystem::remove_all(folder_);
    ProgramTest::TearDown();
  }
  std::string write(const std::string& name, const std::string& text) {
    const std::string path = (folder_ / name).string();
    std::ofstream(path, std::ios::binary) << text;
    return path;
  }
  static rt::ObjRef view_picture() {
    return rt::find_control(rt::find_live_form("FORM8")->ref(), "PICTURE1");
  }
};

TEST_F(FitViewProgramTest, ARecordLoadKeepsItsMeasuredAndBackgroundColumns) {
  EXPECT_TRUE(app::current_fit_view_data().x.empty());  // nothing loaded yet
  // The record with a background of 0 is not kept, as the fit does not keep it.
  app::load_spectrum(write("s.bgd", "290,150,50\r\n289,400,60\r\n288,999,0\r\n287,180,70\r\n"));
  const app::FitViewData d = app::current_fit_view_data();
  EXPECT_EQ(d.x, (std::vector<double>{290, 289, 287}));
  EXPECT_EQ(d.measured, (std::vector<double>{150, 400, 180}));
  EXPECT_EQ(d.background, (std::vector<double>{50, 60, 70}));
  EXPECT_TRUE(d.components.empty() && d.sum.empty());
  EXPECT_FALSE(d.counting_weights);
}

TEST_F(FitViewProgramTest, ARawLoadKeepsTheIntensitiesAsReadAndItsBackground) {
  std::string csv = "x,y\n";
  for (int i = 0; i <= 40; ++i) {
    const double x = 300 - 0.5 * i;
    csv += std::to_string(x) + "," +
           std::to_string(100 + 2 * i + 500 * std::exp(-(x - 290) * (x - 290))) + "\n";
  }
  app::RawSettings settings;
  app::load_raw_spectrum(write("r.csv", csv), settings);
  const app::FitViewData d = app::current_fit_view_data();
  const app::Workspace& w = app::workspace();
  ASSERT_EQ(d.x.size(), 41u);
  for (std::size_t i = 0; i < d.x.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_NEAR(
        d.measured[i],
        100 + 2.0 * static_cast<double>(i) + 500 * std::exp(-(d.x[i] - 290) * (d.x[i] - 290)),
        1e-3);
    // The net value the fit works on is what lies above the background.
    EXPECT_NEAR(d.measured[i] - d.background[i], w.YDATA.at(static_cast<int>(i)), 1e-3);
  }
  EXPECT_LT(d.background.front(), d.background.back());  // Shirley rises to high energy
  EXPECT_TRUE(d.counting_weights);                       // raw intensities are counts
}

TEST_F(FitViewProgramTest, TheWindowFollowsEveryRedrawAndIgnoresTheGraphsMouse) {
  app::load_spectrum(write("s.bgd", [] {
    std::string s;
    for (int i = 0; i <= 100; ++i)
      s += std::to_string(280 + 0.1 * i) + "," +
           std::to_string(60 + 300 * std::exp(-(0.1 * i - 5) * (0.1 * i - 5))) + ",50\r\n";
    return s;
  }()));
  app::DRAWGRAPH();
  EXPECT_EQ(rt::find_live_form("FORM8"), nullptr);  // not open until asked for
  rt::post_menu_event("fitview");
  rt::run_pending_events();
  ASSERT_NE(rt::find_live_form("FORM8"), nullptr);
  const rt::ObjRef state = rt::find_control(rt::find_live_form("FORM8")->ref(), "STATE");
  EXPECT_EQ(rt::get_text(state).substr(0, 29), "points 101; components none; ");

  rt::set_text(app::EDIT(12), "285");
  rt::set_text(app::EDIT(18), "1");
  rt::set_text(app::EDIT(24), "300");
  app::DRAWGRAPH();
  EXPECT_EQ(rt::get_text(state).substr(0, 26), "points 101; components 1; ");
  const app::FitView v = app::current_fit_view();
  const int x = static_cast<int>(std::lround(v.layout.px(285)));
  const int y = static_cast<int>(std::lround(v.layout.py(50 + 300)));
  EXPECT_EQ(rt::picture_pixel(view_picture(), x, y), 0x0000FFu);  // the envelope's top

  // A press on the view's picture is not a press on the graph.
  const std::string centre = rt::get_text(app::EDIT(12));
  rt::post_event(view_picture(), rt::EventKind::MouseDown,
                 {static_cast<float>(x), static_cast<float>(y), 1, 0});
  rt::post_event(view_picture(), rt::EventKind::MouseUp, {400, 200, 1, 0});
  rt::run_pending_events();
  EXPECT_EQ(rt::get_text(app::EDIT(12)), centre);

  // Chosen again, the open window is shown, not made twice.
  rt::post_menu_event("fitview");
  rt::run_pending_events();
  int views = 0;
  for (rt::Form* f : rt::live_forms()) views += f->name() == "FORM8";
  EXPECT_EQ(views, 1);
}

}  // namespace
