// The fit figure: which points every Skip compares, and the figure without peaks.
#include <gtest/gtest.h>

#include "app/fit/kai2.h"
#include "runtime/forms/control_values.h"
#include "tests/fit/fit_fixture.h"

namespace {

class FitFigure : public testing_support::ProgramTest {
 protected:
  // y = 2^i at the points 0 to 10: with no peak the figure is the sum of 4^i over the compared
  // points, so its bits name them.
  void SetUp() override {
    ProgramTest::SetUp();
    std::vector<float> x, y;
    for (int i = 0; i <= 10; ++i) {
      x.push_back(static_cast<float>(290 - i));
      y.push_back(static_cast<float>(1 << i));
    }
    fit_testing::load_points(x, y);
  }
  static float figure_over(std::initializer_list<int> points) {
    float sum = 0;
    for (int i : points) sum += static_cast<float>(1 << (2 * i));
    return sum;
  }
};

TEST_F(FitFigure, ComparedPointsPerSkip) {
  struct Row {
    const char* skip;
    float expected;
  } rows[] = {
      {"1", figure_over({0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10})},
      {"3", figure_over({0, 3, 6, 9})},
      {"11", figure_over({0})},
      {"1.5", figure_over({0, 2, 3, 5, 6, 8, 9})},  // 1.5 and 4.5 round away from zero
      {"-2", figure_over({0})},                     // a negative step stops after index 0
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.skip);
    rt::set_text(app::EDIT(43), r.skip);
    EXPECT_EQ(app::KAI2(), r.expected);
  }
}

TEST_F(FitFigure, BeforeAnySpectrumTheFigureIsZero) {
  app::workspace() = app::Workspace{};
  app::set_start_values(app::workspace());
  EXPECT_EQ(app::KAI2(), 0.0f);
}

}  // namespace
