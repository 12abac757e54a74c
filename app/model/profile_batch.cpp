#include "app/model/profile_batch.h"

#include <cmath>

#include "runtime/convert/arithmetic.h"

namespace app {
namespace {

using rt::kSingleOverflow;
constexpr double kInfinity = HUGE_VAL;
// e^192 is above 2^276: a height below 2^125 over it is below 2^-151, which rounds to a zero.
constexpr float kVanishingExponent = 192;

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
