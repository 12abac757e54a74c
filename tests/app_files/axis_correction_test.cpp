#include <gtest/gtest.h>

#include "app/commands/file_commands.h"
#include "app/files/axis_correction.h"
#include "app/workspace/peak_table.h"
#include "files_fixture.h"

namespace files_test {
namespace {

using app::EDIT;

class AxisCorrection : public FilesTest {
 protected:
  // Three points at 280, 285 and 290 as a load would leave them.
  void SetUp() override {
    FilesTest::SetUp();
    app::Workspace& w = app::workspace();
    w.LASTPOINT = 2;
    for (int i = 0; i < 3; ++i) {
      w.XDATA.at(i) = 280 + 5.0f * i;
      w.YDATA.at(i) = 10;
    }
    w.XDATA.at(3) = 999;  // beyond LASTPOINT
    w.XMIN = w.DATAXMIN = 280;
    w.XMAX = w.DATAXMAX = 290;
    w.YMIN = w.DATAYMIN = 0;
    w.YMAX = w.DATAYMAX = 20;
  }
  int collect(const std::string& shift, int answer_button) {
    rt::set_text(EDIT(11), shift);
    answer(answer_button);
    return run(app::BUTTON4_ON);
  }
};

TEST_F(AxisCorrection, NoMovesTheSpectrumButNotThePeaks) {
  rt::set_text(EDIT(12), "286");
  rt::set_text(EDIT(18), "2");
  // A user range with empty fields keeps the shifted XMIN and XMAX through the redraw.
  rt::set_check(app::CHECK(1), 1);
  ASSERT_EQ(collect("-1.5", rt::kNo), 0);
  const app::Workspace& w = app::workspace();
  EXPECT_EQ(w.XDATA.at(0), 278.5f);
  EXPECT_EQ(w.XDATA.at(2), 288.5f);
  EXPECT_EQ(w.XDATA.at(3), 999);
  EXPECT_EQ(w.XMIN, 278.5f);
  EXPECT_EQ(w.XMAX, 288.5f);
  EXPECT_EQ(w.DATAXMIN, 280);
  EXPECT_EQ(w.DATAXMAX, 290);
  EXPECT_EQ(w.YDATA.at(1), 10);
  EXPECT_EQ(rt::get_text(EDIT(12)), "286.0");  // as the redraw writes every centre
  EXPECT_EQ(rt::get_text(EDIT(11)), "-1.5");

  ASSERT_EQ(platform_.boxes.size(), 1u);
  const rt::MessageBoxRequest& box = platform_.boxes[0];
  EXPECT_EQ(box.caption, "Confirm");
  EXPECT_EQ(box.text, "Correct axis of peaks?");
  EXPECT_EQ(box.buttons, 4);
  EXPECT_EQ(box.icon, 1);
  EXPECT_EQ(box.owner, app::controls().form2);
}

TEST_F(AxisCorrection, YesMovesThePresentCentresOnly) {
  rt::set_text(EDIT(12), "286");
  rt::set_text(EDIT(18), "2");
  rt::set_text(EDIT(24), "100");
  rt::set_text(EDIT(14), "290.5");
  rt::set_text(EDIT(20), "3");
  rt::set_check(app::CHECK(18), 1);
  ASSERT_EQ(collect("-1.5", rt::kYes), 0);
  EXPECT_EQ(rt::get_text(EDIT(12)), "284.5");
  EXPECT_EQ(rt::get_text(EDIT(14)), "289.0");
  EXPECT_EQ(rt::get_text(EDIT(13)), "");
  EXPECT_EQ(rt::get_text(EDIT(18)), "2.0");
  EXPECT_EQ(rt::get_text(EDIT(24)), "100.0");
  EXPECT_EQ(rt::get_check(app::CHECK(18)), 1);
  EXPECT_EQ(app::workspace().XDATA.at(0), 278.5f);
}

TEST_F(AxisCorrection, CentresCarryTheSingleRoundingOfTheShift) {
  struct Case {
    const char* centre;
    float shift;
    const char* moved;
  };
  const Case cases[] = {
      {"284.8", 0.3f, "285.09998780489"},
      {"286", -1.5f, "284.5"},
      {"abc", 2, "2"},                  // no number reads as 0
      {"1.23456789", 0, "1.23456789"},  // more digits than a single: kept in double
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.centre);
    EXPECT_EQ(app::shifted_centre(c.centre, c.shift), c.moved);
  }
}

TEST_F(AxisCorrection, WithoutAUserRangeTheAxisKeepsTheDataRange) {
  ASSERT_EQ(collect("-1.5", rt::kNo), 0);
  EXPECT_EQ(app::workspace().XDATA.at(0), 278.5f);
  EXPECT_EQ(app::workspace().XMIN, 280);
  EXPECT_EQ(app::workspace().XMAX, 290);
  EXPECT_EQ(rt::get_text(app::EDIT(3)), "290");
  EXPECT_EQ(rt::get_text(app::EDIT(4)), "280");
}

TEST_F(AxisCorrection, TheRedrawRoundsTheMovedCentre) {
  rt::set_text(EDIT(12), "284.8");
  rt::set_text(EDIT(18), "2");
  ASSERT_EQ(collect("0.3", rt::kYes), 0);
  EXPECT_EQ(rt::get_text(EDIT(12)), "285.1");
}

TEST_F(AxisCorrection, EachPressShiftsAgain) {
  ASSERT_EQ(collect("1", rt::kNo), 0);
  answer(rt::kNo);
  ASSERT_EQ(run(app::BUTTON4_ON), 0);
  EXPECT_EQ(app::workspace().XDATA.at(0), 282);
  EXPECT_EQ(app::workspace().XDATA.at(2), 292);
}

TEST_F(AxisCorrection, NoNumberShiftsByZeroButStillAsks) {
  rt::set_text(EDIT(12), "286");
  rt::set_text(EDIT(18), "2");
  const ProgramState before = program_state();
  for (const char* shift : {"", "abc"}) {
    SCOPED_TRACE(shift);
    ASSERT_EQ(collect(shift, rt::kYes), 0);
    ProgramState after = program_state();
    EXPECT_EQ(after.x, before.x);
    EXPECT_EQ(after.xmin, before.xmin);
    EXPECT_EQ(rt::get_text(EDIT(12)), "286.0");
  }
  EXPECT_EQ(platform_.boxes.size(), 2u);
}

TEST_F(AxisCorrection, AnEmptySpectrumStillShiftsIndexZero) {
  app::workspace().LASTPOINT = -1;
  ASSERT_EQ(collect("2", rt::kNo), 0);
  EXPECT_EQ(app::workspace().XDATA.at(0), 282);
  EXPECT_EQ(app::workspace().XDATA.at(1), 285);
}

TEST_F(AxisCorrection, AnOverflowShiftsNothing) {
  app::workspace().XDATA.at(2) = 3e38f;
  rt::set_text(EDIT(11), "1E+38");
  const ProgramState before = program_state();
  EXPECT_EQ(run(app::BUTTON4_ON), 6);
  EXPECT_SAME_STATE(before, program_state());
  EXPECT_TRUE(platform_.boxes.empty());
}

}  // namespace
}  // namespace files_test
