#include "app/model/peak_profile.h"

#include <cmath>

#include "app/workspace/peak_table.h"
#include "runtime/convert/arithmetic.h"
#include "runtime/errors/runtime_error.h"

namespace app {
namespace {

using rt::kSingleOverflow;
constexpr double kInfinity = HUGE_VAL;

}  // namespace

PeakShape read_peak_shape(int k, std::source_location where) {
  PeakShape s;
  s.centre = Parameter(k, Param::Centre, where);
  s.width = Parameter(k, Param::Width, where);
  s.height = Parameter(k, Param::Height, where);
  s.asymmetric = Asymmetric(k, where);
  if (s.asymmetric) s.alpha = Parameter(k, Param::Alpha, where);
  return s;
}

ProfileConstants ProfileConstants::for_mix(double mix) {
  const double ln2 = std::log(2.0);
  return ProfileConstants{4 * mix, (1 - mix) * 4 * ln2};
}

double width_squared(const PeakShape& s, std::source_location where) {
  return rt::power(s.width, 2, where);
}

double peak_divisor(float x, const PeakShape& s, double w2, const ProfileConstants& k,
                    std::source_location where) {
  const float d = rt::to_single(static_cast<double>(x) - s.centre, where);
  double dd = d;
  if (s.asymmetric) {
    const double skew = 1 + rt::divide(s.alpha * d, s.width, where);
    if (skew == 0) rt::raise_error(rt::kDivisionByZero, 0, where);
    const double dp = d / skew;
    if (!(std::fabs(dp) < kSingleOverflow)) return kInfinity;
    dd = static_cast<float>(dp);
  }
  const double square = dd * dd;  // exact: dd is a single
  if (w2 == 0) rt::raise_error(square == 0 ? rt::kInvalidArgument : rt::kDivisionByZero, 0, where);
  const double l = 1 + k.lorentz * square / w2;
  if (!(l < kSingleOverflow)) return kInfinity;
  double g = k.gauss * square / w2;
  if (!(g < kSingleOverflow)) return kInfinity;
  g = static_cast<float>(g);
  if (s.asymmetric && g > 200) g = 200;
  return static_cast<double>(static_cast<float>(l)) * profile_exp(g);
}

float value_over_divisor(double height, double divisor, std::source_location where) {
  return rt::to_single(height / divisor, where);
}

float peak_value(float x, const PeakShape& s, double w2, const ProfileConstants& k,
                 std::source_location where) {
  return value_over_divisor(s.height, peak_divisor(x, s, w2, k, where), where);
}

}  // namespace app
