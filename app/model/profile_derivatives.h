#pragma once
// The peak profile in double precision with its derivatives by centre, width and height, for
// the least-squares fit and its uncertainties. Same formula as the drawn curves, without their
// single-precision roundings.
//
// With v = d / (w + a*d) (a = 0 in symmetric mode; d' / w in the drawn formula) and q = v^2:
//   value = h / ((1 + 4m q) * e^G),  G = (1 - m) 4 ln 2 q, capped at 200 in asymmetric mode.

#include <cmath>

#include "app/model/peak_profile.h"

namespace app {

struct ProfileTerms {
  double value = 0;
  double d_centre = 0, d_width = 0, d_height = 0;
};

inline ProfileTerms profile_terms(double x, const PeakShape& s, const ProfileConstants& k) {
  ProfileTerms t;
  const double d = x - s.centre;
  const double a = s.asymmetric ? s.alpha : 0.0;
  const double den = s.width + a * d;
  // On the skew's pole the drawn profile tends to 0 from both sides.
  if (den == 0) return t;
  const double v = d / den;
  const double q = v * v;
  const double l = 1 + k.lorentz * q;
  double g = k.gauss * q;
  const bool capped = s.asymmetric && g > 200;
  if (capped) g = 200;
  const double shape = 1 / (l * std::exp(g));
  // Far out in the tails the shape underflows; its slopes are then 0 as well.
  if (!(shape > 0) || !std::isfinite(shape)) return t;
  t.value = s.height * shape;
  t.d_height = shape;
  // d(value)/dq, then q's slopes: dv/dd = w / den^2, dv/dw = -d / den^2, dd/dc = -1.
  const double dq = -t.value * (k.lorentz / l + (capped ? 0.0 : k.gauss));
  const double two_v_over_den2 = 2 * v / (den * den);
  t.d_centre = -dq * two_v_over_den2 * s.width;
  t.d_width = -dq * two_v_over_den2 * d;
  return t;
}

inline double profile_value(double x, const PeakShape& s, const ProfileConstants& k) {
  return profile_terms(x, s, k).value;
}

}  // namespace app
