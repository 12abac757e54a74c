#include "runtime/convert/arithmetic.h"

#include <cmath>
#include <limits>

#include "runtime/errors/error_locations.h"
#include "runtime/errors/runtime_error.h"

namespace rt {

namespace {

double checked_in(Operation operation, double x, const std::source_location& where) {
  if (std::isnan(x))
    raise_error(kInvalidArgument, convert_location(operation, ConvertCheck::NotANumber), where);
  if (std::isinf(x))
    raise_error(kOverflow, convert_location(operation, ConvertCheck::Infinite), where);
  return x;
}

}  // namespace

double checked(double x, std::source_location where) {
  return checked_in(Operation::Checked, x, where);
}

double divide(double a, double b, std::source_location where) {
  checked_in(Operation::Divide, a, where);
  checked_in(Operation::Divide, b, where);
  if (b == 0)
    raise_error(a == 0 ? kInvalidArgument : kDivisionByZero,
                convert_location(Operation::Divide,
                                 a == 0 ? ConvertCheck::ZeroByZero : ConvertCheck::ZeroDivisor),
                where);
  return checked_in(Operation::Divide, a / b, where);
}

// Converting anything at or above kSingleOverflow would be undefined behaviour in C++, so the
// test comes before the conversion.

float to_single(double x, std::source_location where) {
  checked_in(Operation::ToSingle, x, where);
  if (std::fabs(x) >= kSingleOverflow)
    raise_error(kOverflow, convert_location(Operation::ToSingle, ConvertCheck::BeyondRange), where);
  return static_cast<float>(x);  // too small a value becomes 0 (or a subnormal) silently
}

// Computed the way the processor's own instructions do it, 2^(y * log2|x|), in extended
// precision where the platform has it; so x^2 may differ from x * x in the last bit.
double power(double x, double y, std::source_location where) {
  checked_in(Operation::Power, x, where);
  checked_in(Operation::Power, y, where);
  if (y == 0) return 1;  // 0^0 included
  if (x == 0) return 0;  // a negative exponent too: no division error
  const bool whole = y == std::trunc(y);
  if (x < 0 && !whole)
    raise_error(kOverflow, convert_location(Operation::Power, ConvertCheck::BadArgument), where);
  const long double magnitude =
      std::exp2(static_cast<long double>(y) * std::log2(std::fabs(static_cast<long double>(x))));
  // Halfway between the greatest double and 2^1024: from there on the result would be infinite.
  if (magnitude >= 0x1.fffffffffffff8p+1023L)
    raise_error(kOverflow, convert_location(Operation::Power, ConvertCheck::Infinite), where);
  double result = static_cast<double>(magnitude);
  if (x < 0 && std::fmod(y, 2.0) != 0) result = -result;
  return checked_in(Operation::Power, result, where);
}

double natural_log(double x, std::source_location where) {
  checked_in(Operation::Log, x, where);
  if (x < 0)
    raise_error(kInvalidArgument, convert_location(Operation::Log, ConvertCheck::BadArgument),
                where);
  if (x == 0)
    raise_error(kDivisionByZero, convert_location(Operation::Log, ConvertCheck::ZeroDivisor),
                where);
  return std::log(x);
}

double exponential(double x, std::source_location where) {
  checked_in(Operation::Exp, x, where);
  return checked_in(Operation::Exp, std::exp(x), where);
}

std::int32_t integer_divide(std::int32_t a, std::int32_t b, std::source_location where) {
  if (b == 0)
    raise_error(kDivisionByZero,
                convert_location(Operation::IntegerDivide, ConvertCheck::ZeroDivisor), where);
  // The one quotient beyond the 32-bit range.
  if (a == std::numeric_limits<std::int32_t>::min() && b == -1)
    raise_error(kOverflow, convert_location(Operation::IntegerDivide, ConvertCheck::BeyondRange),
                where);
  return a / b;
}

std::int32_t integer_remainder(std::int32_t a, std::int32_t b, std::source_location where) {
  if (b == 0)
    raise_error(kDivisionByZero,
                convert_location(Operation::IntegerRemainder, ConvertCheck::ZeroDivisor), where);
  if (b == -1) return 0;  // also for the least integer, where a % b would be undefined
  return a % b;
}

}  // namespace rt
