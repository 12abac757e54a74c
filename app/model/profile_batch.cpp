#include "app/model/profile_batch.h"

#include <algorithm>
#include <cmath>

#include "runtime/convert/arithmetic.h"

namespace app {
namespace {

using rt::kSingleOverflow;
constexpr double kInfinity = HUGE_VAL;
// e^192 is above 2^276: a height below 2^125 over it is below 2^-151, which rounds to a zero.
constexpr float kVanishingExponent = 192;

// Bounds inside which a shape cannot overflow anything: the distance from any x to the
// centre, the width's square and the skew term.
constexpr double kDistanceBound = 0x1p126;
constexpr double kWidthLow = 1e-150, kWidthHigh = 1e150;
constexpr double kAlphaBound = 1e100;

// L (as the single it is stored as, or +inf where the value vanishes) into l, G into g.
template <bool Asymmetric>
[[gnu::always_inline]] inline void lorentz_and_gauss(const float* x, std::size_t n,
                                                     const PeakShape& s, double w2,
                                                     const ProfileConstants& k, double* l_out,
                                                     float* g_out) {
  const double c = s.centre, w = s.width, alpha = s.alpha, lorentz = k.lorentz, gauss = k.gauss;
  // Every operation runs for every point and only values are selected, so that the loop has
  // no branches and runs on vectors. A vanishing point carries harmless zeros through.
  for (std::size_t m = 0; m < n; ++m) {
    const float d = static_cast<float>(static_cast<double>(x[m]) - c);
    double dd = d;
    bool vanish = false;
    if constexpr (Asymmetric) {
      const double skew = 1 + alpha * d / w;
      const double dp = d / skew;
      vanish = !(std::fabs(dp) < kSingleOverflow);
      const double dp_kept = vanish ? 0.0 : dp;
      dd = static_cast<float>(dp_kept);
    }
    const double square = dd * dd;
    const double l = 1 + lorentz * square / w2;
    const double g = gauss * square / w2;
    vanish = vanish | !(l < kSingleOverflow) | !(g < kSingleOverflow);
    const double l_kept = vanish ? 0.0 : l;
    const double g_kept = vanish ? 0.0 : g;
    const float ls = static_cast<float>(l_kept);
    float gs = static_cast<float>(g_kept);
    if constexpr (Asymmetric) gs = gs > 200 ? 200.0f : gs;
    l_out[m] = vanish ? kInfinity : static_cast<double>(ls);
    g_out[m] = gs;
  }
}

}  // namespace

bool batch_safe(const PeakShape& s, const float* sorted_x, std::size_t n) {
  if (n == 0) return false;
  if (!(std::fabs(s.height) < kBatchHeightBound)) return false;
  const double width = std::fabs(s.width);
  if (!(width > kWidthLow && width < kWidthHigh)) return false;
  const double xlow = sorted_x[0], xhigh = sorted_x[n - 1];
  if (!(std::fabs(xlow - s.centre) < kDistanceBound &&
        std::fabs(xhigh - s.centre) < kDistanceBound))
    return false;
  if (!s.asymmetric || s.alpha == 0) return true;
  if (!(std::fabs(s.alpha) < kAlphaBound)) return false;
  // The skew divisor 1 + a*d/w is exactly 0 only where d is within a hair of -w/a: look at the
  // few x values there and test them exactly as the profile computes them. Why the window
  // [c + z - m, c + z + m] around the computed zero z = -w/a holds every such x, with u = 2^-53
  // the unit roundoff of a double:
  //  - The profile's fl(1 + fl(fl(a*d) / w)) is 0 only when fl(fl(a*d) / w) is exactly -1 (a
  //    sum of doubles rounds to 0 only when it is 0), so a*d*(1+e1)/w = -(1+e2), |e1|, |e2| <= u
  //    (a*d is near -w, far above the subnormals), and |d - z| <= 2.01u |z|.
  //  - d is x - c rounded to double, then to single: |d - (x - c)| <= |x - c| (u + 2^-24)
  //    + 2^-150, the last term the half step of the subnormal singles. So the x we look for
  //    lie within |z| 2^-23 + 2^-149 of c + z, with room to spare.
  //  - z, c + z, m and the window's ends are rounded in double: together they move an end by
  //    at most (|c| + |z| + m) 4u, far below (|c| + |z|) 2^-45.
  // So m = |z| 2^-20 + (|c| + |z|) 2^-45 + 2^-148 covers each part at least twice over.
  const double zero_at = -s.width / s.alpha;
  const double margin = std::fabs(zero_at) * 0x1p-20 +
                        (std::fabs(s.centre) + std::fabs(zero_at)) * 0x1p-45 + 0x1p-148;
  const double target = s.centre + zero_at;
  auto first = std::lower_bound(sorted_x, sorted_x + n, target - margin,
                                [](float x, double v) { return x < v; });
  for (auto it = first; it != sorted_x + n && *it <= target + margin; ++it) {
    const float d = static_cast<float>(static_cast<double>(*it) - s.centre);
    if (1 + s.alpha * d / s.width == 0) return false;
  }
  return true;
}

__attribute__((target_clones("avx2", "default"))) void batch_divisors(const float* x, std::size_t n,
                                                                      const PeakShape& s, double w2,
                                                                      const ProfileConstants& k,
                                                                      double* out, float* scratch) {
  if (s.asymmetric)
    lorentz_and_gauss<true>(x, n, s, w2, k, out, scratch);
  else
    lorentz_and_gauss<false>(x, n, s, w2, k, out, scratch);
  for (std::size_t m = 0; m < n; ++m) {
    const float g = scratch[m];
    const double divisor = out[m] * profile_exp(g);
    out[m] = ((out[m] == kInfinity) | (g > kVanishingExponent)) ? kInfinity : divisor;
  }
}

__attribute__((target_clones("avx2", "default"))) void batch_values(double height,
                                                                    const double* divisors,
                                                                    std::size_t n, float* out) {
  for (std::size_t m = 0; m < n; ++m) out[m] = static_cast<float>(height / divisors[m]);
}

}  // namespace app
