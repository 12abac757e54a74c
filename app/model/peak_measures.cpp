#include "app/model/peak_measures.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

#include "app/model/profile_derivatives.h"

namespace app {
namespace {

constexpr double kInfinity = std::numeric_limits<double>::infinity();
constexpr double kReach = 50;  // widths either side of the centre that the area covers

double unit_value(double u, const PeakShape& s, const ProfileConstants& k) {
  PeakShape unit = s;
  unit.centre = 0;
  unit.width = 1;
  unit.height = 1;
  return profile_value(u, unit, k);
}

// Composite Gauss-Legendre of 8 nodes over `pieces` equal parts of [a, b]: the integrand is
// smooth (also at the skew's pole, where it tends to 0 with every slope), so a fixed rule is
// accurate to rounding and its cost is known.
double integrate(const PeakShape& s, const ProfileConstants& k, double a, double b, int pieces) {
  static constexpr double kNodes[4] = {0.1834346424956498, 0.5255324099163290, 0.7966664774136267,
                                       0.9602898564975363};
  static constexpr double kWeights[4] = {0.3626837833783620, 0.3137066458778873, 0.2223810344533745,
                                         0.1012285362903763};
  const double step = (b - a) / pieces;
  double sum = 0;
  for (int i = 0; i < pieces; ++i) {
    const double middle = a + (i + 0.5) * step, half = step / 2;
    double part = 0;
    for (int j = 0; j < 4; ++j)
      part += kWeights[j] * (unit_value(middle - half * kNodes[j], s, k) +
                             unit_value(middle + half * kNodes[j], s, k));
    sum += part * half;
  }
  return sum;
}

// The same rule over [a, b] of x for the profile of height 1 at the shape's centre and width.
// A negative width mirrors the profile about its centre.
double integrate_x(const PeakShape& s, const ProfileConstants& k, double a, double b, int pieces) {
  const double w = std::fabs(s.width);
  double ua = (a - s.centre) / w, ub = (b - s.centre) / w;
  if (s.width < 0) {
    const double mirrored = -ua;
    ua = -ub;
    ub = mirrored;
  }
  return w * integrate(s, k, ua, ub, pieces);
}

}  // namespace

double half_width_at_half_maximum(const ProfileConstants& k) {
  // (1 + 4m q) e^(Gq) grows with q from 1 at q = 0; it passes 2 below q = 1 for every m.
  double lo = 0, hi = 1;
  for (int i = 0; i < 200 && lo < hi; ++i) {
    const double q = (lo + hi) / 2;
    if (q == lo || q == hi) break;
    ((1 + k.lorentz * q) * std::exp(k.gauss * q) < 2 ? lo : hi) = q;
  }
  return std::sqrt((lo + hi) / 2);
}

double unit_fwhm(const PeakShape& s, const ProfileConstants& k) {
  const double v = half_width_at_half_maximum(k);
  // u = v / (1 - a v) maps the skewed v back to the distance from the centre, on the side
  // where a*u > 0 (stretched) and where a*u < 0 (compressed).
  const double av = s.asymmetric ? std::fabs(s.alpha) * v : 0.0;
  if (av >= 1) return kInfinity;
  return v / (1 - av) + v / (1 + av);
}

double unit_area(const PeakShape& s, const ProfileConstants& k) {
  // Every symmetric slot has the same K: computed once per Lorentzian fraction. A pure
  // function's memo, so one per thread rather than per program.
  thread_local ProfileConstants cached_for{-1, -1};
  thread_local double cached = 0;
  const bool symmetric = !s.asymmetric;
  if (symmetric && cached_for.lorentz == k.lorentz && cached_for.gauss == k.gauss) return cached;
  // Break points where the integrand changes fast: the centre, a few widths out, and the
  // skew's pole (u = -1/a), where the profile dips to 0.
  std::vector<double> cuts = {-kReach, -10, -4, -1, 0, 1, 4, 10, kReach};
  if (s.asymmetric && s.alpha != 0) {
    const double pole = -1 / s.alpha;
    if (std::fabs(pole) < kReach) cuts.push_back(pole);
  }
  std::sort(cuts.begin(), cuts.end());
  double area = 0;
  for (std::size_t i = 1; i < cuts.size(); ++i)
    if (cuts[i] > cuts[i - 1]) area += integrate(s, k, cuts[i - 1], cuts[i], 48);
  if (symmetric) {
    cached_for = k;
    cached = area;
  }
  return area;
}

double area_between(const PeakShape& s, const ProfileConstants& k, double from, double to) {
  const double w = std::fabs(s.width);
  if (!(w > 0) || !(to > from)) return 0;
  const double lo = std::max(from, s.centre - kReach * w), hi = std::min(to, s.centre + kReach * w);
  if (!(hi > lo)) return 0;
  std::vector<double> cuts = {lo, hi};
  for (double u : {-10.0, -4.0, -1.0, 0.0, 1.0, 4.0, 10.0}) cuts.push_back(s.centre + u * w);
  if (s.asymmetric && s.alpha != 0) cuts.push_back(s.centre - s.width / s.alpha);
  std::sort(cuts.begin(), cuts.end());
  double area = 0;
  for (std::size_t i = 1; i < cuts.size(); ++i) {
    const double a = std::max(cuts[i - 1], lo), b = std::min(cuts[i], hi);
    if (b > a) area += integrate_x(s, k, a, b, 48);
  }
  return s.height * area;
}

}  // namespace app
