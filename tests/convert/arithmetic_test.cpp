#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstdint>
#include <functional>
#include <limits>

#include "../support/run_time_errors.h"
#include "runtime/convert/arithmetic.h"
#include "runtime/errors/runtime_error.h"

namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

struct ErrorRow {
  const char* what;
  std::function<void()> call;
  int error;
};

TEST(Arithmetic, Failures) {
  const ErrorRow rows[] = {
      {"checked NaN", [] { rt::checked(kNaN); }, rt::kInvalidArgument},
      {"checked +inf", [] { rt::checked(kInf); }, rt::kOverflow},
      {"checked -inf", [] { rt::checked(-kInf); }, rt::kOverflow},
      {"1 / 0", [] { rt::divide(1, 0); }, rt::kDivisionByZero},
      {"-1 / -0", [] { rt::divide(-1, -0.0); }, rt::kDivisionByZero},
      {"0 / 0", [] { rt::divide(0, 0); }, rt::kInvalidArgument},
      {"overflowing quotient", [] { rt::divide(1e308, 1e-10); }, rt::kOverflow},
      {"single beyond range", [] { rt::to_single(3.5e38); }, rt::kOverflow},
      {"single beyond range, negative", [] { rt::to_single(-1e300); }, rt::kOverflow},
      {"single at the rounding limit", [] { rt::to_single(0x1.ffffffp+127); }, rt::kOverflow},
      {"single NaN", [] { rt::to_single(kNaN); }, rt::kInvalidArgument},
      {"negative base, fractional exponent", [] { rt::power(-8, 1.0 / 3); }, rt::kOverflow},
      {"power overflow", [] { rt::power(10, 400); }, rt::kOverflow},
      {"power overflow, negative base", [] { rt::power(-10, 309); }, rt::kOverflow},
      {"power overflow, huge even exponent", [] { rt::power(-2, 1e20); }, rt::kOverflow},
      {"log of negative", [] { rt::natural_log(-1); }, rt::kInvalidArgument},
      {"log of zero", [] { rt::natural_log(0); }, rt::kDivisionByZero},
      {"log of negative zero", [] { rt::natural_log(-0.0); }, rt::kDivisionByZero},
      {"exp overflow", [] { rt::exponential(710); }, rt::kOverflow},
      {"integer divide by zero", [] { rt::integer_divide(7, 0); }, rt::kDivisionByZero},
      {"integer remainder by zero", [] { rt::integer_remainder(7, 0); }, rt::kDivisionByZero},
      {"least integer / -1", [] { rt::integer_divide(INT32_MIN, -1); }, rt::kOverflow},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.what);
    EXPECT_EQ(error_of(row.call), row.error);
  }
}

TEST(Arithmetic, ValuesThatPass) {
  EXPECT_EQ(rt::checked(1.5), 1.5);
  EXPECT_EQ(rt::divide(1, 4), 0.25);
  EXPECT_EQ(rt::divide(0, 5), 0.0);
  EXPECT_EQ(rt::divide(1e-300, 1e300), 0.0);  // underflow is no error
  EXPECT_EQ(rt::to_single(FLT_MAX), FLT_MAX);
  EXPECT_EQ(rt::to_single(std::nextafter(0x1.ffffffp+127, 0.0)), FLT_MAX);
  EXPECT_EQ(rt::to_single(-static_cast<double>(FLT_MAX)), -FLT_MAX);
  EXPECT_EQ(rt::to_single(1e-50), 0.0f);
  EXPECT_EQ(rt::to_single(-1e-50), 0.0f);
  EXPECT_EQ(rt::to_single(0.1), 0.1f);
  EXPECT_EQ(rt::to_single(1e-40), static_cast<float>(1e-40));  // subnormals are kept
  EXPECT_EQ(rt::natural_log(1), 0.0);
  EXPECT_DOUBLE_EQ(rt::natural_log(std::exp(1.0)), 1.0);
  EXPECT_EQ(rt::exponential(0), 1.0);
  EXPECT_EQ(rt::exponential(-1000), 0.0);
  EXPECT_DOUBLE_EQ(rt::exponential(1), std::exp(1.0));
}

TEST(Arithmetic, Power) {
  const struct {
    double x, y, result;
  } exact[] = {
      {0, 0, 1},      {5, 0, 1},     {-3, 0, 1},    {0, 2, 0},   {0, -2, 0},
      {0, 0.5, 0},    {2, 10, 1024}, {2, -1, 0.5},  {-2, 3, -8}, {-2, 2, 4},
      {-2, -1, -0.5}, {-1, 1e20, 1}, {1, 1e300, 1}, {4, 0.5, 2}, {10, -400, 0},
  };
  for (const auto& row : exact) {
    SCOPED_TRACE(testing::Message() << row.x << "^" << row.y);
    EXPECT_EQ(rt::power(row.x, row.y), row.result);
  }
  // Through the logarithm the last bit may differ from the direct value, never more.
  const struct {
    double x, y, near;
  } close[] = {{10, 2, 100},      {2, 0.5, std::sqrt(2.0)},     {1.1, 2, 1.1 * 1.1},
               {-1.5, 3, -3.375}, {7, 1.0 / 3, std::cbrt(7.0)}, {1e10, 30, 1e300}};
  for (const auto& row : close) {
    SCOPED_TRACE(testing::Message() << row.x << "^" << row.y);
    const double got = rt::power(row.x, row.y);
    EXPECT_LE(std::fabs(got - row.near), std::fabs(row.near) * 2 * DBL_EPSILON);
  }
}

TEST(Arithmetic, IntegerDivisionTruncates) {
  const struct {
    std::int32_t a, b, quotient, remainder;
  } rows[] = {{7, 2, 3, 1},
              {-7, 2, -3, -1},
              {7, -2, -3, 1},
              {-7, -2, 3, -1},
              {0, 5, 0, 0},
              {6, 3, 2, 0},
              {INT32_MIN, 1, INT32_MIN, 0},
              {INT32_MAX, -1, -INT32_MAX, 0}};
  for (const auto& row : rows) {
    SCOPED_TRACE(testing::Message() << row.a << " / " << row.b);
    EXPECT_EQ(rt::integer_divide(row.a, row.b), row.quotient);
    EXPECT_EQ(rt::integer_remainder(row.a, row.b), row.remainder);
  }
  EXPECT_EQ(rt::integer_remainder(INT32_MIN, -1), 0);
}

}  // namespace
