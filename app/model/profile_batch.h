#pragma once
// The profile over many points at once, for the fitting engine's hot loop. The arithmetic is
// that of peak_divisor and value_over_divisor, operation for operation, laid out so that the
// compiler can run it on vectors; the one difference is that it checks nothing: the caller
// has made sure that the shape can raise no run-time error at any point.

#include <cstddef>

#include "app/model/peak_profile.h"

namespace app {

// Every height the engine hands over stays below this; a divisor beyond e^192 then gives a
// zero whatever the height, and is returned as +inf like the divisors of vanishing values.
inline constexpr double kBatchHeightBound = 0x1p125;

// Whether the profile of `s` at every one of the n points `sorted_x` (ascending) can raise no
// run-time error, its height below kBatchHeightBound: then the functions below give what the
// checked ones would. False for no points.
bool batch_safe(const PeakShape& s, const float* sorted_x, std::size_t n);

// The divisors L * e^G at x[0..n). `scratch` holds n floats.
void batch_divisors(const float* x, std::size_t n, const PeakShape& s, double width_squared,
                    const ProfileConstants& k, double* out, float* scratch);

// The curve values height / divisor, rounded to single.
void batch_values(double height, const double* divisors, std::size_t n, float* out);

}  // namespace app
