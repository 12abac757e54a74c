#include <gtest/gtest.h>

#include <vector>

#include "../support/program_fixture.h"
#include "app/workspace/counted_loop.h"
#include "app/workspace/peak_table.h"
#include "app/workspace/workspace.h"
#include "runtime/errors/runtime_error.h"
#include "runtime/forms/control_values.h"

namespace {

std::vector<float> run(float start, float limit, float step) {
  std::vector<float> seen;
  app::counted_loop(start, limit, step, [&](float v) {
    seen.push_back(v);
    ASSERT_LT(seen.size(), 100000u);
  });
  return seen;
}

TEST(CountedLoop, TheBodyRunsOnceBeforeAnyTest) {
  EXPECT_EQ(run(0, -1, 1), std::vector<float>{0});
  EXPECT_EQ(run(281, 280, 1), std::vector<float>{281});
  EXPECT_EQ(run(0, 3, 1), (std::vector<float>{0, 1, 2, 3}));
  EXPECT_EQ(run(0, 10, 3), (std::vector<float>{0, 3, 6, 9}));
}

TEST(CountedLoop, NegativeStepsCountDown) {
  EXPECT_EQ(run(3, 1, -1), (std::vector<float>{3, 2, 1}));
  EXPECT_EQ(run(0, 0, -1), std::vector<float>{0});
  // A negative step towards a greater limit stops after the first pass.
  EXPECT_EQ(run(0, 5, -1), std::vector<float>{0});
}

TEST(CountedLoop, TheCounterGrowsByRepeatedSingleAddition) {
  // Repeated addition of the single 0.01 from 10 falls short of 10.5 in the end, so the last
  // grid point is not reached; from 0 it is.
  auto from_ten = run(10.0f - 0.5f, 10.0f + 0.5f, 0.01f);
  auto from_zero = run(0.0f - 0.5f, 0.0f + 0.5f, 0.01f);
  EXPECT_EQ(from_ten.size(), 100u);
  EXPECT_EQ(from_zero.size(), 101u);
  float expected = 9.5f;
  for (std::size_t i = 0; i < from_ten.size(); ++i, expected += 0.01f)
    ASSERT_EQ(from_ten[i], expected);
}

TEST(CountedLoop, ACounterThatCannotMoveEndsTheLoop) {
  EXPECT_EQ(run(5, 10, 0), std::vector<float>{5});
  EXPECT_EQ(run(16777216.0f, 16777230.0f, 1), std::vector<float>{16777216.0f});
}

TEST(CountedLoop, IndicesRoundHalvesAwayFromZero) {
  EXPECT_EQ(app::loop_index(1.5f), 2);
  EXPECT_EQ(app::loop_index(4.5f), 5);
  EXPECT_EQ(app::loop_index(2.4999998f), 2);
  EXPECT_EQ(app::loop_index(-0.5f), -1);
  EXPECT_EQ(app::loop_index(-1.5f), -2);
  // Skip 1.5 compares 0, 2, 3, 5, 6, ...
  std::vector<int> indices;
  app::counted_loop(0, 7, 1.5f, [&](float v) { indices.push_back(app::loop_index(v)); });
  EXPECT_EQ(indices, (std::vector<int>{0, 2, 3, 5, 6}));
}

TEST(Workspace, ArraysHaveTheirBounds) {
  app::Workspace w;
  auto error_at = [](auto& array, int index) {
    try {
      array.at(index);
    } catch (const rt::RuntimeError& e) {
      return e.number();
    }
    return 0;
  };
  EXPECT_EQ(error_at(w.XDATA, 2000), 0);
  EXPECT_EQ(error_at(w.XDATA, 2001), 9);
  EXPECT_EQ(error_at(w.YDATA, 1000), 0);
  EXPECT_EQ(error_at(w.YDATA, 1001), 9);
  EXPECT_EQ(error_at(w.PEAKCURVE6, 1001), 9);
  EXPECT_EQ(error_at(w.PEAKCURVE5, 2000), 0);
  EXPECT_EQ(error_at(w.SUMCURVE, -1), 9);
  static_assert(std::is_same_v<decltype(w.LASTPOINT), std::int16_t>);
  static_assert(std::is_same_v<decltype(w.YMAX), double>);
  static_assert(std::is_same_v<decltype(w.PLOTTOP), std::int16_t>);
}

class PeakTableTest : public testing_support::ProgramTest {};

TEST_F(PeakTableTest, PresentIsAnExactTestForTheEmptyText) {
  EXPECT_FALSE(app::Present(1));
  rt::set_text(app::EDIT(12), " ");
  EXPECT_TRUE(app::Present(1));
  rt::set_text(app::EDIT(17), "abc");
  EXPECT_TRUE(app::Present(6));
  EXPECT_EQ(app::Parameter(6, app::Param::Centre), 0);
}

TEST_F(PeakTableTest, ParametersAreTheTextsOfTheirFields) {
  rt::set_text(app::EDIT(13), "285");
  rt::set_text(app::EDIT(19), "");
  rt::set_text(app::EDIT(25), "1000.5");
  rt::set_text(app::EDIT(31), "0.2");
  EXPECT_EQ(app::Parameter(2, app::Param::Centre), 285);
  EXPECT_EQ(app::Parameter(2, app::Param::Width), 0);  // an empty width reads 0
  EXPECT_EQ(app::Parameter(2, app::Param::Height), 1000.5);
  EXPECT_EQ(app::Parameter(2, app::Param::Alpha), static_cast<double>(0.2f));

  app::SetParameter(3, app::Param::Height, 1234.5f);
  EXPECT_EQ(rt::get_text(app::EDIT(26)), "1234.5");  // trimmed: no leading blank
  app::SetParameter(3, app::Param::Centre, -0.5f);
  EXPECT_EQ(rt::get_text(app::EDIT(14)), "-.5");
  app::SetParameter(3, app::Param::Width, 1234567.0f);
  EXPECT_EQ(rt::get_text(app::EDIT(20)), "1.23457E+06");
}

TEST_F(PeakTableTest, LocksCountEveryStateButZero) {
  struct Row {
    int slot;
    app::Param p;
    int check;
  };
  for (Row r : {Row{1, app::Param::Centre, 18}, Row{4, app::Param::Width, 27},
                Row{6, app::Param::Height, 35}}) {
    SCOPED_TRACE(r.check);
    EXPECT_FALSE(app::Locked(r.slot, r.p));
    rt::set_check(app::CHECK(r.check), 1);
    EXPECT_TRUE(app::Locked(r.slot, r.p));
    rt::set_check(app::CHECK(r.check), 2);
    EXPECT_TRUE(app::Locked(r.slot, r.p));
  }
  rt::set_check(app::CHECK(9), 1);
  rt::set_check(app::CHECK(16), 2);
  EXPECT_TRUE(app::Asymmetric(1));
  EXPECT_FALSE(app::Asymmetric(2));
  EXPECT_TRUE(app::Asymmetric(5));
}

}  // namespace
