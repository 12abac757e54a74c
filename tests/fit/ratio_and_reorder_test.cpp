// Peak ratios from the curves as last computed, and the closing of gaps in the peak table.
#include <gtest/gtest.h>

#include "app/fit/calc_ratio.h"
#include "app/fit/reorder.h"
#include "app/workspace/peak_curves.h"
#include "tests/fit/fit_fixture.h"
#include "tests/fit/recording_platform.h"

namespace {

using app::Param;
using fit_testing::PeakRow;

class PeakRatios : public testing_support::ProgramTest {
 protected:
  PeakRatios() : ProgramTest(&platform_) {}
  void SetUp() override {
    ProgramTest::SetUp();
    app::workspace().LASTPOINT = 1;
  }
  // Slot k present with a curve of two points.
  void curve(int k, float a, float b) {
    rt::set_text(app::field_of(k, Param::Centre), "285");
    app::peak_curve(app::workspace(), k, 0) = a;
    app::peak_curve(app::workspace(), k, 1) = b;
  }
  std::string ratio(int k) { return rt::get_text(app::ratio_field_of(k)); }
  fit_testing::RecordingPlatform platform_;
};

TEST_F(PeakRatios, SharesTruncatedToTwoDecimals) {
  curve(1, 30, 30.25f);
  curve(2, 20, 19.75f);
  app::CALC_RATIO();
  EXPECT_EQ(ratio(1), "60.25");
  EXPECT_EQ(ratio(2), "39.75");
  EXPECT_EQ(rt::get_text(app::EDIT(42)), "100");
  EXPECT_EQ(platform_.clipboard, "60.25,39.75,0.00,0.00,0.00,0.00,100");
}

TEST_F(PeakRatios, EqualThirdsAbsentSlotsAndZeroAreas) {
  curve(1, 1, 1);
  curve(3, 1, 1);
  curve(4, 0, 0);  // present with height 0
  curve(6, 1, 1);
  app::CALC_RATIO();
  EXPECT_EQ(ratio(1), "33.33");
  EXPECT_EQ(ratio(2), "");  // absent: empty field, "0.00" in the line
  EXPECT_EQ(ratio(4), "0.00");
  EXPECT_EQ(platform_.clipboard, "33.33,0.00,33.33,0.00,0.00,33.33,99.99");
}

TEST_F(PeakRatios, NegativeAreaCountsInTheTotalButShowsZero) {
  curve(1, 10, 10);
  curve(2, -2, -3);
  app::CALC_RATIO();
  EXPECT_EQ(ratio(1), "133.33");
  EXPECT_EQ(ratio(2), "0.00");
  EXPECT_EQ(rt::get_text(app::EDIT(42)), "99.99");  // 133.33 - 33.34
}

TEST_F(PeakRatios, TabLineStartsWithATab) {
  curve(1, 1, 1);
  rt::set_check(app::CHECK(43), 1);
  app::CALC_RATIO();
  EXPECT_EQ(platform_.clipboard, "\t100\t0.00\t0.00\t0.00\t0.00\t0.00\t100");
}

TEST_F(PeakRatios, NoPositiveTotalChangesNothing) {
  rt::set_text(app::EDIT(42), "keep");
  app::CALC_RATIO();  // no slot present
  curve(1, -1, -1);
  app::CALC_RATIO();
  EXPECT_EQ(rt::get_text(app::EDIT(42)), "keep");
  EXPECT_EQ(ratio(1), "");
  EXPECT_EQ(platform_.clipboard_writes, 0);
}

class Reorder : public testing_support::ProgramTest {
 protected:
  // Slots named by a letter each ("" for an empty one), centre, width and height alike.
  void table(const std::string& letters) {
    for (int k = 1; k <= 6; ++k) {
      const std::string t = letters[k - 1] == '.' ? "" : std::string(1, letters[k - 1]);
      for (Param p : {Param::Centre, Param::Width, Param::Height})
        rt::set_text(app::field_of(k, p), t);
    }
  }
  std::string letters() {
    std::string out;
    for (int k = 1; k <= 6; ++k) {
      const std::string c = rt::get_text(app::field_of(k, Param::Centre));
      out += c.empty() ? '.' : c[0];
      EXPECT_EQ(rt::get_text(app::field_of(k, Param::Width)), c);
      EXPECT_EQ(rt::get_text(app::field_of(k, Param::Height)), c);
    }
    return out;
  }
};

TEST_F(Reorder, ClosesOneGapPerTest) {
  struct Row {
    const char *before, *after;
  } rows[] = {
      {"a.cd..", "acd..."}, {"abcde.", "abcde."},
      {"abcdef", "abcdef"}, {"..cdef", ".cdef."},  // two adjacent gaps: one stays open
      {"a.c.e.", "ace..."}, {".....f", "..f..."},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.before);
    table(r.before);
    app::REORDER();
    EXPECT_EQ(letters(), r.after);
  }
}

TEST_F(Reorder, RowSettingsStayAndStrayTextsAreOverwritten) {
  table("a.c...");
  rt::set_text(app::field_of(2, Param::Width), "stray");
  rt::set_check(app::lock_of(2, Param::Centre), 1);
  rt::set_text(app::field_of(3, Param::Alpha), "0.4");
  app::REORDER();
  EXPECT_EQ(letters(), "ac....");
  EXPECT_EQ(rt::get_check(app::lock_of(2, Param::Centre)), 1);
  EXPECT_EQ(rt::get_text(app::field_of(3, Param::Alpha)), "0.4");
}

}  // namespace
