// Refine with the background fitted together with the peaks, on Poisson counts of known truth:
// a peak whose background is exactly of the Shirley or the Tougaard form. The static
// background, fixed before the fit, misstates the area; fitted with the peak it recovers the
// area within its deviation. And what the active fit leaves: the net spectrum as the measured
// less the fitted background, the report's parameters, and a refusal without a raw load.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <string>
#include <vector>

#include "app/commands/fit_commands.h"
#include "app/files/background.h"
#include "app/files/tougaard_background.h"
#include "app/fit/refine.h"
#include "app/model/fit_report.h"
#include "app/model/peak_measures.h"
#include "app/workspace/peak_table.h"
#include "app/workspace/workspace.h"
#include "runtime/forms/control_values.h"
#include "runtime/forms/objects.h"
#include "tests/refine/refine_fixture.h"
#include "tests/support/run_time_errors.h"

namespace {

using fit_testing::PeakRow;

constexpr int kPoints = 151;
constexpr double kLevel = 200;  // counts at the low-binding-energy end
const refine_testing::TruePeak kPeak{285.0, 1.4, 1000};

enum class Form { Shirley, Tougaard };

class ActiveBackground : public refine_testing::RefineTest {
 protected:
  void SetUp() override {
    RefineTest::SetUp();
    for (int i = 0; i < kPoints; ++i)
      rising_x_.push_back(static_cast<float>(280 + 15.0 * i / (kPoints - 1)));
    truth_ = true_spectrum();
  }

  // The expected counts by rising x: the peak plus a background of the form exactly, built
  // point by point from the low end (each point's background needs only the points below it).
  std::vector<double> true_spectrum() const {
    std::vector<double> in(kPoints), peak(kPoints);
    for (std::size_t i = 0; i < kPoints; ++i)
      peak[i] = refine_testing::truth_at(rising_x_[i], {kPeak});
    if (form_ == Form::Shirley) {
      // B = c + k A, A the trapezoid integral of I - c = B - c + P from the lowest x.
      constexpr double k = 0.04;
      double area = 0;
      in[0] = kLevel + peak[0];
      for (std::size_t i = 1; i < kPoints; ++i) {
        const double dx = rising_x_[i] - rising_x_[i - 1];
        area = (area + ((in[i - 1] - kLevel) + peak[i]) * dx / 2) / (1 - k * dx / 2);
        in[i] = kLevel + k * area + peak[i];
      }
      return in;
    }
    constexpr double b = 2866;
    for (std::size_t i = 0; i < kPoints; ++i) {
      double s = 0;
      for (std::size_t j = 0; j < i; ++j) {
        const double w = (rising_x_[j + 1] - rising_x_[j > 0 ? j - 1 : 0]) / 2;
        s += app::tougaard_k1({}, rising_x_[i] - rising_x_[j]) * w * (in[j] - kLevel);
      }
      in[i] = kLevel + peak[i] + b * s;
    }
    return in;
  }

  // One Poisson draw loaded as a raw load would leave it: falling x, the static background
  // subtracted, the measured counts kept and the background's record.
  void load_draw() {
    std::vector<double> x, m;
    for (int i = kPoints - 1; i >= 0; --i) {
      const auto u = static_cast<std::size_t>(i);
      std::poisson_distribution<long> counts(truth_[u]);
      x.push_back(rising_x_[u]);
      m.push_back(static_cast<double>(counts(random_)));
    }
    const auto ends = app::end_averages(x, m, {5, 0, 0});
    app::BackgroundRecord record;
    record.low_level = ends->levels.low;
    record.high_level = ends->levels.high;
    std::vector<double> background;
    if (form_ == Form::Shirley) {
      record.method = "shirley";
      background = app::shirley_iterated(x, m, ends->levels).values;
    } else {
      record.method = "tougaard";
      const auto t = app::tougaard_background(x, m, {}, ends->levels.low, ends->levels.high,
                                              ends->high_points, std::nullopt);
      background = t->values;
      record.tougaard_b = t->b;
      record.tougaard_sums = t->sums;
      record.tougaard_unit_sums = t->unit_sums;
    }
    std::vector<float> xf, yf;
    for (std::size_t i = 0; i < x.size(); ++i) {
      xf.push_back(static_cast<float>(x[i]));
      yf.push_back(static_cast<float>(m[i] - background[i]));
    }
    refine_testing::load_spectrum({kPeak}, 0, random_, kPoints);  // the ranges
    fit_testing::load_points(xf, yf);
    app::Workspace& w = app::workspace();
    w.fit.spectrum.measured = m;
    w.fit.background = record;
    fit_testing::set_row(1, PeakRow{"285.3", "1.3", "900", ""});
    rt::set_text(app::EDIT(43), "1");
  }

  // Of 200 draws, how many areas lie within 3 deviations of the truth, static and active.
  std::pair<int, int> coverage(Form form) {
    form_ = form;
    truth_ = true_spectrum();
    const double true_area =
        kPeak.height * kPeak.width *
        app::unit_area(app::PeakShape{}, app::ProfileConstants::for_mix(static_cast<double>(0.3f)));
    app::set_weight_counts(true);
    int fixed = 0, fitted = 0;
    for (int draw = 0; draw < 200; ++draw) {
      for (const bool active : {false, true}) {
        load_draw();
        app::workspace().fit.active_background = active;
        app::refine_table();
        const app::FitReportRow row = app::make_fit_report(*app::last_fit()).rows.at(0);
        if (std::fabs(*row.area - true_area) <= 3 * *row.area_sd) ++(active ? fitted : fixed);
      }
    }
    return {fixed, fitted};
  }

  std::vector<double> rising_x_;
  std::vector<double> truth_;
  Form form_ = Form::Shirley;
  std::mt19937_64 random_{20261210};
};

TEST_F(ActiveBackground, RecoversTheAreaWhereTheStaticBackgroundMissesIt) {
  for (const Form form : {Form::Shirley, Form::Tougaard}) {
    SCOPED_TRACE(form == Form::Shirley ? "Shirley" : "Tougaard");
    const auto [fixed, fitted] = coverage(form);
    RecordProperty(form == Form::Shirley ? "shirley_static_active" : "tougaard_static_active",
                   std::to_string(fixed) + " " + std::to_string(fitted));
    EXPECT_GE(fitted, 190) << "static " << fixed;
    EXPECT_LT(fixed, fitted);
  }
}

TEST_F(ActiveBackground, TheNetSpectrumFollowsTheFittedBackground) {
  load_draw();
  app::Workspace& w = app::workspace();
  w.fit.active_background = true;
  // Where the ends were averaged, as a load records it (the report window shows it).
  w.fit.background->low_from = 280;
  w.fit.background->low_to = 280.4f;
  w.fit.background->end_points = 5;
  w.fit.background->high_offset = 2;
  app::refine_table();
  const app::FitReport r = app::make_fit_report(*app::last_fit());
  ASSERT_EQ(r.background_form, "shirley");
  ASSERT_EQ(r.background_parameters.size(), 2u);
  EXPECT_EQ(r.background_parameters[0].name, "shirley_c");
  EXPECT_TRUE(r.background_parameters[1].sd && *r.background_parameters[1].sd > 0);
  EXPECT_EQ(r.free_parameters, 5);
  ASSERT_TRUE(w.fit.background->fitted_with_peaks);
  // measured - net is the fitted background c + k (A0 - c span) at the highest x.
  const double c = r.background_parameters[0].value, k = r.background_parameters[1].value;
  double a0 = 0;
  for (std::size_t i = kPoints - 1; i > 0; --i)
    a0 += (w.fit.spectrum.measured[i] + w.fit.spectrum.measured[i - 1]) / 2 *
          (w.XDATA.at(static_cast<std::int32_t>(i - 1)) - w.XDATA.at(static_cast<std::int32_t>(i)));
  const double span = w.XDATA.at(0) - w.XDATA.at(kPoints - 1);
  EXPECT_NEAR(w.fit.spectrum.measured[0] - w.YDATA.at(0), c + k * (a0 - c * span), 0.05);

  // The report window shows the background as the saved report has it, in its own words.
  app::FITREPORT_ON();
  const rt::ObjRef form = rt::find_live_form("FORM6")->ref();
  const auto text = [&](const char* name) { return rt::get_text(rt::find_control(form, name)); };
  EXPECT_EQ(text("BGMETHOD"), "Shirley");
  EXPECT_EQ(text("BGLOWEND"), "280 – 280.4");
  EXPECT_EQ(text("BGENDPOINTS"), "5");
  EXPECT_EQ(text("BGOFFSETS"), "0、2");
  EXPECT_EQ(text("BGTOUGAARDB"), "");
  const std::string fitted = text("BGFITTED");
  EXPECT_EQ(fitted.rfind("shirley_c = ", 0), 0u) << fitted;
  EXPECT_NE(fitted.find(" ± "), std::string::npos) << fitted;
  EXPECT_NE(fitted.find("、shirley_k = "), std::string::npos) << fitted;

  // A record load has no background to fit: refused, nothing changed.
  w.fit.background.reset();
  const float before = w.YDATA.at(3);
  EXPECT_EQ(error_of([] { app::refine_table(); }), 5);
  EXPECT_EQ(w.YDATA.at(3), before);
}

}  // namespace
