#include "runtime/convert/arithmetic.h"

#include <cmath>
#include <limits>

#include "runtime/convert/error_sites.h"
#include "runtime/errors/runtime_error.h"

namespace rt {

namespace {

using namespace convert_site;

double checked_in(std::uint32_t operation, double x, const std::source_location& where) {
  if (std::isnan(x)) raise_error(kInvalidArgument, code(operation, kNotANumber), where);
  if (std::isinf(x)) raise_error(kOverflow, code(operation, kInfinite), where);
  return x;
}

}  // namespace

double checked(double x, std::source_location where) { return checked_in(kChecked, x, where); }

double divide(double a, double b, std::source_location where) {
  checked_in(kDivide, a, where);
  checked_in(kDivide, b, where);
  if (b == 0) raise_error(a == 0 ? kInvalidArgument : kDivisionByZero,
                          code(kDivide, a == 0 ? kZeroByZero : kZeroDivisor), where);
  return checked_in(kDivide, a / b, where);
}

// Converting anything at or above kSingleOverflow would be undefined behaviour in C++, so the
// test comes before the conversion.

float to_single(double x, std::source_location where) {
  checked_in(kToSingle, x, where);
  if (std::fabs(x) >= kSingleOverflow)
    raise_error(kOverflow, code(kToSingle, kBeyondRange), where);
  return static_cast<float>(x);  // too small a value becomes 0 (or a subnormal) silently
}

// Computed the way the processor's own instructions do it, 2^(y * log2|x|), in extended
// precision where the platform has it; so x^2 may differ from x * x in the last bit.
double power(double x, double y, std::source_location where) {
  checked_in(kPower, x, where);
  checked_in(kPower, y, where);
  if (y == 0) return 1;  // 0^0 included
  if (x == 0) return 0;  // a negative exponent too: no division error
  const bool whole = y == std::trunc(y);
  if (x < 0 && !whole) raise_error(kOverflow, code(kPower, kBadArgument), where);
  const long double magnitude =
      std::exp2(static_cast<long double>(y) * std::log2(std::fabs(static_cast<long double>(x))));
  // Halfway between the greatest double and 2^1024: from there on the result would be infinite.
  if (magnitude >= 0x1.fffffffffffff8p+1023L)
    raise_error(kOverflow, code(kPower, kInfinite), where);
  double result = static_cast<double>(magnitude);
  if (x < 0 && std::fmod(y, 2.0) != 0) result = -result;
  return checked_in(kPower, result, where);
}

double natural_log(double x, std::source_location where) {
  checked_in(kLog, x, where);
  if (x < 0) raise_error(kInvalidArgument, code(kLog, kBadArgument), where);
  if (x == 0) raise_error(kDivisionByZero, code(kLog, kZeroDivisor), where);
  return std::log(x);
}

double exponential(double x, std::source_location where) {
  checked_in(kExp, x, where);
  return checked_in(kExp, std::exp(x), where);
}

std::int32_t integer_divide(std::int32_t a, std::int32_t b, std::source_location where) {
  if (b == 0) raise_error(kDivisionByZero, code(kIntegerDivide, kZeroDivisor), where);
  // The one quotient beyond the 32-bit range.
  if (a == std::numeric_limits<std::int32_t>::min() && b == -1)
    raise_error(kOverflow, code(kIntegerDivide, kBeyondRange), where);
  return a / b;
}

std::int32_t integer_remainder(std::int32_t a, std::int32_t b, std::source_location where) {
  if (b == 0) raise_error(kDivisionByZero, code(kIntegerRemainder, kZeroDivisor), where);
  if (b == -1) return 0;  // also for the least integer, where a % b would be undefined
  return a % b;
}

}  // namespace rt
