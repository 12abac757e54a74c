// The double-precision profile's slopes, and the FWHM and area the report gives, each against
// an independent computation.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "app/model/peak_measures.h"
#include "app/model/profile_derivatives.h"

namespace {

using app::PeakShape;

const app::ProfileConstants kConstants = app::ProfileConstants::for_mix(static_cast<double>(0.3f));

PeakShape shape(double c, double w, double h, double alpha = 0, bool asymmetric = false) {
  PeakShape s;
  s.centre = c;
  s.width = w;
  s.height = h;
  s.alpha = alpha;
  s.asymmetric = asymmetric;
  return s;
}

// Symmetric, skewed either way, a negative width, a skew whose pole lies among the points.
const PeakShape kShapes[] = {shape(285, 1.5, 1000), shape(285, 1.5, 1000, 0.2, true),
                             shape(285, 1.5, 1000, -0.35, true), shape(10, -2, 3),
                             shape(0, 1, 1, 0.9, true)};

TEST(RefineProfile, SlopesMatchCentralDifferences) {
  for (const PeakShape& s : kShapes) {
    for (double x :
         {s.centre - 3.1, s.centre - 0.7, s.centre + 0.01, s.centre + 0.9, s.centre + 2.3}) {
      SCOPED_TRACE(testing::Message() << "alpha " << s.alpha << " width " << s.width << " x " << x);
      const app::ProfileTerms t = app::profile_terms(x, s, kConstants);
      const double step = 1e-6;
      auto moved = [&](double PeakShape::*member, double by) {
        PeakShape m = s;
        m.*member += by;
        return app::profile_value(x, m, kConstants);
      };
      const double scale = std::fabs(s.height) + 1;
      EXPECT_NEAR(t.d_centre,
                  (moved(&PeakShape::centre, step) - moved(&PeakShape::centre, -step)) / (2 * step),
                  1e-5 * scale);
      EXPECT_NEAR(t.d_width,
                  (moved(&PeakShape::width, step) - moved(&PeakShape::width, -step)) / (2 * step),
                  1e-5 * scale);
      EXPECT_NEAR(t.d_height,
                  (moved(&PeakShape::height, step) - moved(&PeakShape::height, -step)) / (2 * step),
                  1e-7);
    }
  }
}

TEST(RefineProfile, ValueAtTheCentreIsTheHeightAndThePoleGivesZero) {
  EXPECT_DOUBLE_EQ(app::profile_value(285, kShapes[1], kConstants), 1000);
  // w + a*d = 0 at d = -w/a: the skewed profile's limit there is 0, with flat slopes.
  const PeakShape s = shape(0, 1, 1, 0.5, true);
  const app::ProfileTerms t = app::profile_terms(-2, s, kConstants);
  EXPECT_EQ(t.value, 0);
  EXPECT_EQ(t.d_centre, 0);
  EXPECT_EQ(t.d_width, 0);
}

// The half-maximum points found by bisection on the profile itself, one side at a time.
double half_point(const PeakShape& s, double direction) {
  double inner = 0, outer = 1;
  while (app::profile_value(s.centre + direction * outer, s, kConstants) > s.height / 2) outer *= 2;
  for (int i = 0; i < 200; ++i) {
    const double middle = (inner + outer) / 2;
    (app::profile_value(s.centre + direction * middle, s, kConstants) > s.height / 2 ? inner
                                                                                     : outer) =
        middle;
  }
  return inner;
}

TEST(RefineMeasures, FwhmIsWhereTheProfileIsAtHalfItsHeight) {
  for (const PeakShape& s :
       {kShapes[0], kShapes[1], kShapes[2], kShapes[3], shape(3, 0.8, 5, 0.05, true)}) {
    SCOPED_TRACE(testing::Message() << "alpha " << s.alpha << " width " << s.width);
    const double found = half_point(s, -1) + half_point(s, 1);
    EXPECT_NEAR(std::fabs(s.width) * app::unit_fwhm(s, kConstants), found, 1e-9);
  }
  // With the Lorentzian fraction 0.3 the half maximum lies a little inside w/2.
  EXPECT_LT(app::unit_fwhm(kShapes[0], kConstants), 1.0);
  EXPECT_GT(app::unit_fwhm(kShapes[0], kConstants), 0.9);
  // A skew so strong that one tail levels off above half the height has no FWHM.
  EXPECT_TRUE(std::isinf(app::unit_fwhm(shape(0, 1, 1, 2.5, true), kConstants)));
}

TEST(RefineMeasures, SymmetricAreaMatchesTheClosedForm) {
  // The integral of e^(-B u^2) / (1 + A u^2) over the whole axis is pi/sqrt(A) e^(B/A)
  // erfc(sqrt(B/A)).
  const double a = kConstants.lorentz, b = kConstants.gauss;
  const double closed =
      std::numbers::pi / std::sqrt(a) * std::exp(b / a) * std::erfc(std::sqrt(b / a));
  EXPECT_NEAR(app::unit_area(kShapes[0], kConstants), closed, 1e-12);
  // A skew coefficient of 0 in asymmetric mode is the symmetric profile.
  EXPECT_NEAR(app::unit_area(shape(0, 1, 1, 0, true), kConstants), closed, 1e-12);
}

TEST(RefineMeasures, SkewedAreaMatchesAFineTrapezoidSum) {
  for (const PeakShape& s : {kShapes[1], kShapes[2], shape(0, 1, 1, 0.05, true)}) {
    SCOPED_TRACE(s.alpha);
    const PeakShape unit = shape(0, 1, 1, s.alpha, true);
    const int steps = 400000;
    const double h = 100.0 / steps;
    double sum = 0;
    for (int i = 0; i <= steps; ++i) {
      const double f = app::profile_value(-50 + i * h, unit, kConstants);
      sum += (i == 0 || i == steps) ? f / 2 : f;
    }
    EXPECT_NEAR(app::unit_area(s, kConstants), sum * h, 1e-7);
  }
}

}  // namespace
