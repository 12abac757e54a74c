#pragma once
// The exponential of the peak profile. Written out here (rather than taken from the C library)
// so that the fitting engine can run it on vectors and the model computes the very same bits
// on every path: what the sweep evaluates and what the redraw draws cannot drift apart.
// Accurate to about one unit in the last place of a double, for arguments from 0 upward.

#include <bit>
#include <cstdint>

namespace app {

inline double profile_exp(double g) {
  // g = k ln 2 + r with |r| <= ln 2 / 2; ln 2 is split so that k * kLn2High is exact.
  constexpr double kLog2e = 0x1.71547652b82fep0;
  constexpr double kLn2High = 0x1.62e42fee00000p-1;
  constexpr double kLn2Low = 0x1.a39ef35793c76p-33;
  constexpr double kRoundingShift = 0x1.8p52;         // adding it rounds to a whole number
  constexpr double kOverflow = 0x1.62e42fefa39efp+9;  // from here on e^g exceeds every double
  const double shifted = g * kLog2e + kRoundingShift;
  const double k = shifted - kRoundingShift;
  const double r = (g - k * kLn2High) - k * kLn2Low;
  // e^r - 1 by its series up to r^13 (the rest is below 1e-17), then 1 added last.
  double q = 1.0 / 6227020800;
  q = q * r + 1.0 / 479001600;
  q = q * r + 1.0 / 39916800;
  q = q * r + 1.0 / 3628800;
  q = q * r + 1.0 / 362880;
  q = q * r + 1.0 / 40320;
  q = q * r + 1.0 / 5040;
  q = q * r + 1.0 / 720;
  q = q * r + 1.0 / 120;
  q = q * r + 1.0 / 24;
  q = q * r + 1.0 / 6;
  q = q * r + 0.5;
  const double p = 1 + (r + r * r * q);
  // 2^k into the exponent field; k sits in the low bits of the shifted value.
  const std::uint64_t scale = std::bit_cast<std::uint64_t>(shifted) << 52;
  const double result = std::bit_cast<double>(std::bit_cast<std::uint64_t>(p) + scale);
  return g < kOverflow ? result : __builtin_huge_val();
}

}  // namespace app
