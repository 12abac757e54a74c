// "FITTING" as a user meets it: locks, clamps, ties, refusals, failures that put the fields
// back, and fields typed while the sweep runs.
#include <gtest/gtest.h>

#include <cmath>

#include "app/commands/fit_commands.h"
#include "app/fit/fitting.h"
#include "tests/fit/fit_fixture.h"
#include "tests/fit/literal_fit.h"
#include "tests/fit/recording_platform.h"
#include "tests/support/run_time_errors.h"

namespace {

using app::Param;
using fit_testing::PeakRow;
using fit_testing::text_of;

class Fitting : public testing_support::ProgramTest {
 protected:
  Fitting() : ProgramTest(&platform_) {}
  void SetUp() override {
    ProgramTest::SetUp();
    // A symmetric peak at 286 of height 900 and width 1.5 over 41 points, x falling.
    std::vector<float> x, y;
    for (int i = 0; i <= 40; ++i) {
      const float xi = 290 - 0.2f * static_cast<float>(i);
      const float d = (xi - 286) / 1.5f;
      x.push_back(xi);
      y.push_back(900 / (1 + 1.2f * d * d) / std::exp(1.94f * d * d));
    }
    fit_testing::load_points(x, y);
  }
  fit_testing::RecordingPlatform platform_;
};

TEST_F(Fitting, NothingPresentChangesNoField) {
  rt::set_text(app::field_of(2, Param::Width), "3");  // no centre: not present
  app::fitting_sweep();
  EXPECT_EQ(text_of(2, Param::Width), "3");
  EXPECT_EQ(fit_testing::peak_texts(),
            std::vector<std::string>(
                {"", "", "", "", "3", "", "", "", "", "", "", "", "", "", "", "", "", ""}));
}

TEST_F(Fitting, LockedParametersStay) {
  fit_testing::set_row(1, PeakRow{"285.5", "2", "500", "", false, 1, 2, 1});
  app::fitting_sweep();
  EXPECT_EQ(text_of(1, Param::Centre), "285.5");
  EXPECT_EQ(text_of(1, Param::Width), "2");
  EXPECT_EQ(text_of(1, Param::Height), "500");
}

TEST_F(Fitting, FindsThePeakAndKeepsItsClamps) {
  fit_testing::set_row(1, PeakRow{"285.8", "0.8", "300", ""});
  app::fitting_sweep();
  EXPECT_NEAR(std::stod(text_of(1, Param::Centre)), 286, 0.1);  // one sweep only nears the peak
  EXPECT_NEAR(std::stod(text_of(1, Param::Height)), 900, 150);
  EXPECT_GE(std::stod(text_of(1, Param::Width)), 1.2);  // a typed 0.8 is at least 1.2 after a press

  // A peak where the spectrum is negative: the best height is clamped to 0 after every pass.
  for (int i = 0; i <= 40; ++i) app::workspace().YDATA.at(i) = -500;
  fit_testing::set_row(1, PeakRow{"286", "1.5", "100", "", false, 1, 1, 0});
  app::fitting_sweep();
  EXPECT_EQ(text_of(1, Param::Height), "0");
}

TEST_F(Fitting, EqualFiguresGoToTheLaterTrial) {
  // A narrow peak far from every point changes no figure: every height pass ends on its last
  // trial, u + 5 s.
  fit_testing::set_row(1, PeakRow{"500", "1.5", "100", "", false, 1, 1, 0});
  app::fitting_sweep();
  EXPECT_EQ(text_of(1, Param::Height), "5655");
}

// A Skip that would compare every point thousands of times is refused the same way.
TEST_F(Fitting, SkipOfZeroOrBelowIsRefusedBeforeAnythingChanges) {
  fit_testing::set_row(1, PeakRow{"285.8", "1.4", "300", ""});
  for (const char* skip : {"0", "", "abc", "-1", "0.0001"}) {
    SCOPED_TRACE(skip);
    rt::set_text(app::EDIT(43), skip);
    expect_error(5, [] { app::BUTTON1_ON(); });
    EXPECT_EQ(text_of(1, Param::Centre), "285.8");
    EXPECT_EQ(text_of(1, Param::Height), "300");
    EXPECT_EQ(platform_.clipboard_writes, 0);
  }
}

TEST_F(Fitting, AFailedSweepPutsEveryFieldBack) {
  struct Case {
    const char* what;
    int error;
    PeakRow second;
  } cases[] = {
      {"width 0", 11, {"287", "0", "100", ""}},
      {"a centre too large for the centre's step", 6, {"1E+30", "1", "100", "", false, 0, 1, 1}},
      {"a height too large for the last pass", 6, {"287", "1", "3E+07", "", false, 1, 1, 0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    fit_testing::set_row(1, PeakRow{"285.8", "1.4", "300", ""});
    fit_testing::set_row(2, c.second);
    const std::vector<std::string> before = fit_testing::peak_texts();
    expect_error(c.error, [] { app::BUTTON1_ON(); });
    EXPECT_EQ(fit_testing::peak_texts(), before);
  }
}

// What the user types while the sweep pumps is read by the next figure, as the literal sweep
// reads it: the engine drops what it kept.
TEST_F(Fitting, AFieldTypedDuringTheSweepIsSeen) {
  auto run = [&](auto sweep) {
    fit_testing::set_row(1, PeakRow{"285.8", "1.4", "300", ""});
    fit_testing::set_row(2, PeakRow{"287", "1", "50", "", false, 1, 1, 1});
    rt::set_text(app::EDIT(43), "3");
    platform_.pumps = 0;
    platform_.on_pump = [](int n) {
      if (n == 30) rt::control_of(app::field_of(2, Param::Height)).user_set_text("400");
      if (n == 90) rt::control_of(app::EDIT(43)).user_set_text("1");
    };
    sweep();
    platform_.on_pump = nullptr;
    return fit_testing::peak_texts();
  };
  const std::vector<std::string> literal_run = run([] { literal::sweep(); });
  const std::vector<std::string> shipped = run([] { app::fitting_sweep(); });
  EXPECT_EQ(shipped, literal_run);
  EXPECT_EQ(shipped[5], "400");
}

}  // namespace

namespace {

// A Skip typed while the sweep pumps is refused as one typed before the press: error 5, every
// peak field as before the press, no ratios. The literal sweep refuses it at the same pump.
TEST_F(Fitting, ASkipTypedDuringThePressIsRefused) {
  for (const char* skip : {"0", "-1", "0.0001"}) {
    SCOPED_TRACE(skip);
    auto press = [&](void (*button)()) {
      fit_testing::set_row(1, PeakRow{"285.8", "1.4", "300", ""});
      rt::set_text(app::EDIT(43), "3");
      platform_.pumps = 0;
      platform_.on_pump = [skip](int n) {
        if (n == 40) rt::control_of(app::EDIT(43)).user_set_text(skip);
      };
      const int error = error_of(button);
      platform_.on_pump = nullptr;
      return error;
    };
    EXPECT_EQ(press(&literal::fitting_press), 5);
    const std::vector<std::string> literal_fields = fit_testing::peak_texts();
    EXPECT_EQ(press(&app::BUTTON1_ON), 5);
    EXPECT_EQ(fit_testing::peak_texts(), literal_fields);
    EXPECT_EQ(text_of(1, Param::Centre), "285.8");
    EXPECT_EQ(text_of(1, Param::Height), "300");
    EXPECT_EQ(platform_.clipboard_writes, 0);
  }
}

// Every scan starts from the single its field reads as: texts that name the same single give
// the same fit, whatever digits they carry beyond it. (From the double 256.2 the centre grid
// would start one single lower and end on 256.69 instead of 256.691.)
TEST_F(Fitting, SameSingleSameFit) {
  std::vector<float> x, y;
  for (int i = 0; i <= 60; ++i) {
    x.push_back(262 - 0.2f * static_cast<float>(i));
    const float d = (x.back() - 256.69f) / 1.5f;
    y.push_back(900 / (1 + 1.2f * d * d) / std::exp(1.94f * d * d));
  }
  fit_testing::load_points(x, y);
  auto fitted = [&](const PeakRow& row, void (*sweep)()) {
    fit_testing::set_row(1, row);
    sweep();
    return fit_testing::peak_texts();
  };
  const PeakRow centre{"256.2", "1.5", "900", "", false, 0, 1, 1};
  const PeakRow centre_long{"256.20000", "1.5", "900", "", false, 0, 1, 1};
  const PeakRow all{"256.2", "1.3", "310.7", ""};
  const PeakRow all_long{"256.20000", "1.3000000", "310.70000", ""};
  for (const auto& [short_row, long_row] :
       {std::pair{centre, centre_long}, std::pair{all, all_long}}) {
    const std::vector<std::string> shipped = fitted(short_row, &app::fitting_sweep);
    EXPECT_EQ(fitted(long_row, &app::fitting_sweep), shipped);
    EXPECT_EQ(fitted(short_row, &literal::sweep), shipped);
    EXPECT_EQ(fitted(long_row, &literal::sweep), shipped);
  }
  EXPECT_EQ(fitted(centre_long, &app::fitting_sweep)[0], "256.691");
}

}  // namespace
