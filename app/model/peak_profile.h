#pragma once
// The peak profile: a Lorentzian times a Gaussian sharing one width, with the fixed Lorentzian
// fraction. Every caller (the model curves, the fitting engine and its tests) computes a value
// through these functions, so the same inputs give the same bits everywhere.

#include <source_location>

#include "app/model/profile_exp.h"

namespace app {

// A present slot's parameters as its fields read (VAL), and its "As" mode.
struct PeakShape {
  double centre = 0;
  double width = 0;
  double height = 0;
  double alpha = 0;  // read only in asymmetric mode
  bool asymmetric = false;
};

// Reads slot k's centre, width, height and (in asymmetric mode) alpha fields and its "As" box.
PeakShape read_peak_shape(int k, std::source_location where = std::source_location::current());

// The constants of the profile for a Lorentzian fraction m: 4m and (1 - m) * 4 * ln 2, formed
// left to right as the formulas read.
struct ProfileConstants {
  double lorentz;  // 4 * m
  double gauss;    // (1 - m) * 4 * ln 2
  static ProfileConstants for_mix(double mix);
};

// w^2 by the power rule, once per shape (it is the same at every point).
double width_squared(const PeakShape& s,
                     std::source_location where = std::source_location::current());

// The profile's divisor L * e^G at x, with d, d', L and G each rounded to single. It is +inf
// where the true value lies far below the smallest single (e^G beyond the double range in
// symmetric mode, L or G beyond the single range): the value there is a zero of the height's
// sign, not an error. A width of 0 is error 11 (error 5 when d is 0 too), a skew divisor of 0
// error 11, a d beyond the single range error 6.
double peak_divisor(float x, const PeakShape& s, double width_squared, const ProfileConstants& k,
                    std::source_location where = std::source_location::current());

// The curve value h / (L * e^G), rounded to single (error 6 beyond the single range).
float peak_value(float x, const PeakShape& s, double width_squared, const ProfileConstants& k,
                 std::source_location where = std::source_location::current());

// The value for a height over an already computed divisor: the height scans change only h.
float value_over_divisor(double height, double divisor,
                         std::source_location where = std::source_location::current());

}  // namespace app
