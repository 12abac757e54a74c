// The graph's arithmetic: tick series, numbers, the mapping and its inverse, the rounding of
// the peak fields. A wrong digit here is what the user sees on every redraw.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "../support/run_time_errors.h"
#include "app/graph/numarrange.h"
#include "app/graph/plot_mapping.h"
#include "app/graph/x_axis.h"
#include "app/graph/y_axis.h"
#include "app/workspace/workspace.h"
#include "runtime/convert/number_text.h"

namespace {

struct XCase {
  float xmin, xmax;
  bool user;
  std::string step_text;
  float first, last, step;
};

TEST(XTicks, FirstLastAndStep) {
  const std::vector<XCase> cases = {
      {280.4f, 295.7f, false, "", 281, 295, 1},
      {200, 460, false, "", 200, 460, 100},
      {280.4f, 280.6f, false, "", 281, 280, 1},  // the first tick lies beyond the last
      {0, 49.9f, false, "", 0, 49, 1},
      {0, 50, false, "", 0, 50, 10},
      {0, 199.9f, false, "", 0, 199, 10},
      {0, 200, false, "", 0, 200, 100},
      {-3.5f, 7.2f, false, "", -3, 7, 1},
      {300, 280, false, "", 300, 280, 1},  // reversed: a negative range keeps step 1
      {280, 300, true, "5", 280, 300, 5},
      {280, 300, true, "2.5", 280, 300, 2.5f},
      {280, 300, true, "", 280, 300, 1},
      {280, 300, false, "5", 280, 300, 1},  // the step field counts only with the box ticked
      // Steps that would never reach the last tick give way to the automatic one.
      {280, 300, true, "0", 280, 300, 1},
      {280, 300, true, "-2", 280, 300, 1},
      {0, 500, true, "abc", 0, 500, 100},
      {0, 500, true, "1e-50", 0, 500, 100},
  };
  for (const XCase& c : cases) {
    SCOPED_TRACE(std::to_string(c.xmin) + " to " + std::to_string(c.xmax) + " step '" +
                 c.step_text + "'");
    const app::XTicks t = app::plan_x_ticks(c.xmin, c.xmax, c.user, c.step_text);
    EXPECT_EQ(t.first, c.first);
    EXPECT_EQ(t.last, c.last);
    EXPECT_EQ(t.step, c.step);
  }
}

TEST(XTicks, AStepBeyondTheSingleRangeIsAnOverflow) {
  expect_error(6, [] { app::plan_x_ticks(0, 10, true, "1D+300"); });
}

TEST(XTicks, WideLabelOffsets) {
  const std::vector<std::pair<float, float>> cases = {
      {0, 13},   {9, 13},    {10, 15},   {99, 15},   {100, 25},  {900, 25},
      {999, 25}, {1000, 35}, {1900, 35}, {2000, 35}, {5300, 35}, {100000, 35}};
  for (auto [t, d] : cases) EXPECT_EQ(app::wide_label_offset(t), d) << t;
}

// The value a wide label's text shows stands for the text: equal values, equal texts.
TEST(XTicks, WideLabelValuesStandForTheirTexts) {
  const float labels[] = {
      0,           100,       999900,       1000000,      1234500,    1234550,      9999900,
      99999904.0f, 100000000, 100000096.0f, 123456704.0f, 1999999872, 2147483648.0f};
  for (float a : labels) {
    SCOPED_TRACE(a);
    EXPECT_EQ(rt::single_text(static_cast<float>(app::wide_label_value(a))), rt::single_text(a));
    for (float b : labels)
      EXPECT_EQ(app::wide_label_value(a) == app::wide_label_value(b),
                rt::single_text(a) == rt::single_text(b))
          << b;
  }
}

struct YCase {
  float ymin;
  double ymax;
  bool user;
  std::string step_text;
  float exponent, unit, lowest, highest, step;
};

TEST(YTicks, ExponentUnitAndTickEnds) {
  const std::vector<YCase> cases = {
      {0, 12345, false, "", 4, 1000, 0, 12000, 1000},
      // Exact powers of ten get their own exponent.
      {0, 1000, false, "", 3, 100, 0, 1000, 100},
      {0, 100, false, "", 2, 10, 0, 100, 10},
      {0, 1e6, false, "", 6, 1e5f, 0, 1e6f, 1e5f},
      {0, 999, false, "", 2, 10, 0, 990, 10},
      {20, 1220, false, "", 3, 100, 100, 1200, 100},
      {-37, 250, false, "", 2, 10, -30, 250, 10},
      // The unit is a single (0.001 is 0.0010000000475): 0.55 / unit truncates to 549.
      {0.5f, 0.55, false, "", -2, 0.001f, 0.5f, 0.549f, 0.001f},
      {0, 12345, true, "500", 4, 1000, 0, 12000, 500},
      {0, 12345, false, "500", 4, 1000, 0, 12000, 1000},
      {0, 12345, true, "0", 4, 1000, 0, 12000, 1000},
      {0, 12345, true, "-500", 4, 1000, 0, 12000, 1000},
      {0, 12345, true, "none", 4, 1000, 0, 12000, 1000},
  };
  for (const YCase& c : cases) {
    SCOPED_TRACE(std::to_string(c.ymin) + " to " + std::to_string(c.ymax) + " step '" +
                 c.step_text + "'");
    const app::YTicks t = app::plan_y_ticks(c.ymin, c.ymax, c.user, c.step_text);
    EXPECT_EQ(t.exponent, c.exponent);
    EXPECT_FLOAT_EQ(t.unit, c.unit);
    EXPECT_FLOAT_EQ(t.lowest, c.lowest);
    EXPECT_FLOAT_EQ(t.highest, c.highest);
    EXPECT_FLOAT_EQ(t.step, c.step);
  }
}

TEST(YTicks, AnEmptyRangeDividesByZeroAndAReversedOneHasNoLogarithm) {
  expect_error(11, [] { app::plan_y_ticks(5, 5, false, ""); });
  expect_error(5, [] { app::plan_y_ticks(100, 0, false, ""); });
}

TEST(YTicks, LabelsInUnitsOfTheExponent) {
  struct Case {
    float v, unit;
    std::string text;
  };
  const std::vector<Case> cases = {
      {0, 1000, "0.0"},       {2000, 1000, "0.2"},  {12000, 1000, "1.2"},
      {10000, 1000, "1.0"},   {-2000, 1000, "-.2"},  // only a leading point gets its zero
      {-10000, 1000, "-1.0"}, {120, 10, "1.2"},     {2999, 1000, "0.2"},  // truncated downward
      {-2500, 1000, "-.3"},   {99000, 1000, "9.9"}, {100000, 1000, "10.0"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.v));
    EXPECT_EQ(app::y_label_text(app::y_label_value(c.v, c.unit)), c.text);
  }
  EXPECT_EQ(app::exponent_label(4), "[x10^ 4]");
  EXPECT_EQ(app::exponent_label(-2), "[x10^-2]");
  EXPECT_EQ(app::exponent_label(0), "[x10^ 0]");
}

TEST(Numarrange, OneDecimalFromTheSingleSum) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"12.345", "12.3"},    {"12", "12.0"},
      {"-1.26", "-1.3"},     {"0.04", "0.0"},
      {"abc", "0.0"},        {"1.25", "1.2"},
      {"12.35", "12.4"},     {"0.25", ".3"},
      {"3.15", "3.2"},       {"0.5", ".5"},
      {"-0.04", "0.0"},      {"-0.06", "-.1"},
      {"  7.96", "8.0"},     {"285.37mm", "285.4"},
      {"1E+05", "100000.0"}, {"283.299987792969", "283.3"},  // a drag's double text
  };
  for (const auto& [in, out] : cases) EXPECT_EQ(app::one_decimal_text(in), out) << in;
  expect_error(6, [] { app::one_decimal_text("1D+300"); });
}

class Mapping : public ::testing::Test {
 protected:
  void SetUp() override {
    app::set_start_values(w);
    w.XMIN = 280;
    w.XMAX = 300;
    w.YMIN = 0;
    w.YMAX = 1000;
  }
  app::Workspace w;
};

TEST_F(Mapping, ValuesToPixels) {
  EXPECT_EQ(app::px(w, 300), 100);  // the greater x at the left edge
  EXPECT_EQ(app::px(w, 280), 650);
  EXPECT_EQ(app::px(w, 290), 375);
  EXPECT_EQ(app::px(w, 310), -175);  // outside the range: not clipped
  EXPECT_EQ(app::py(w, 1000), 50);
  EXPECT_EQ(app::py(w, 0), 610);
  EXPECT_EQ(app::py(w, 500), 330);
  EXPECT_EQ(app::py(w, -100), 666);
  w.XMIN = 300;  // reversed: the axis is mirrored
  w.XMAX = 280;
  EXPECT_EQ(app::px(w, 300), 650);
  EXPECT_EQ(app::px(w, 280), 100);
}

TEST_F(Mapping, AnEmptyRangeIsAnError) {
  w.XMIN = w.XMAX = 290;
  expect_error(11, [&] { app::px(w, 280); });
  expect_error(5, [&] { app::px(w, 290); });  // 0 / 0
  w.YMIN = 7;
  w.YMAX = 7;
  expect_error(11, [&] { app::py(w, 0); });
  // The pointer's values divide only by the plot area's size.
  EXPECT_EQ(app::pointer_x(w, 375), 290);
}

TEST_F(Mapping, PointerToValues) {
  EXPECT_EQ(app::pointer_x(w, 100), 300);  // left edge: XMAX
  EXPECT_EQ(app::pointer_x(w, 650), 280);  // right edge: XMIN
  EXPECT_EQ(app::pointer_y(w, 50), 1000);
  EXPECT_EQ(app::pointer_y(w, 610), 0);
  EXPECT_EQ(app::pointer_x(w, 375), 290);
  EXPECT_EQ(app::position_text(app::pointer_x(w, 377)), "289.92");
  EXPECT_EQ(app::position_text(app::pointer_y(w, 331)), "498.21");
  w.XMIN = 280.4f;  // a single's own digits: 280.399993896484375
  EXPECT_EQ(app::position_text(app::pointer_x(w, 650)), "280.39");
}

TEST(PositionText, TruncatedDownwardToTwoDecimals) {
  const std::vector<std::pair<double, std::string>> cases = {
      {285.379, "285.37"}, {1234.567, "1234.56"}, {-1.234, "-1.24"}, {0, "0"},
      {0.5, ".5"},         {-0.001, "-.01"},      {42, "42"},        {1e6 + 0.125, "1000000.12"}};
  for (const auto& [v, text] : cases) EXPECT_EQ(app::position_text(v), text) << v;
}

}  // namespace
