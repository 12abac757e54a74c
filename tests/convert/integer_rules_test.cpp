#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>

#include "../support/run_time_errors.h"
#include "runtime/convert/integer_rules.h"
#include "runtime/errors/runtime_error.h"

namespace {

struct RoundRow {
  double x;
  std::int32_t away;  // nearest_int: halves away from zero
  std::int32_t even;  // store_int16: halves to even
};

// Both signs of every case: the rules differ exactly at the halves.
TEST(IntegerRules, HalvesAwayFromZeroAndToEven) {
  const RoundRow rows[] = {
      {0.0, 0, 0},
      {0.5, 1, 0},
      {1.5, 2, 2},
      {2.5, 3, 2},
      {3.5, 4, 4},
      {4.5, 5, 4},
      {2.4, 2, 2},
      {2.6, 3, 3},
      {0.49999999999999994, 0, 0},  // floor(x + 0.5) would give 1
      {2.5000000000000004, 3, 3},
      {1e-300, 0, 0},
      {32766.5, 32767, 32766},
      {32767.4, 32767, 32767},
      {12345.5, 12346, 12346},
  };
  for (const auto& row : rows) {
    for (int sign : {1, -1}) {
      const double x = sign * row.x;
      SCOPED_TRACE(x);
      EXPECT_EQ(rt::nearest_int(x), sign * row.away);
      EXPECT_EQ(rt::store_int16(x), sign * row.even);
    }
  }
}

TEST(IntegerRules, NearestIntRange) {
  EXPECT_EQ(rt::nearest_int(2147483647.0), 2147483647);
  EXPECT_EQ(rt::nearest_int(2147483647.4), 2147483647);
  EXPECT_EQ(rt::nearest_int(-2147483648.0), std::numeric_limits<std::int32_t>::min());
  EXPECT_EQ(rt::nearest_int(-2147483648.4), std::numeric_limits<std::int32_t>::min());
  for (double x : {2147483647.5, -2147483648.5, 2147483648.0, 1e10, -1e300,
                   std::numeric_limits<double>::quiet_NaN()}) {
    SCOPED_TRACE(x);
    EXPECT_EQ(error_of([&] { rt::nearest_int(x); }), rt::kOverflow);
  }
}

TEST(IntegerRules, StoreInt16Range) {
  EXPECT_EQ(rt::store_int16(32767.0), 32767);
  EXPECT_EQ(rt::store_int16(-32768.0), -32768);
  EXPECT_EQ(rt::store_int16(-32768.5), -32768);  // the even neighbour is inside
  EXPECT_EQ(rt::store_int16(-32768.4), -32768);
  for (double x : {32767.5, 32768.0, -32768.6, -32769.5, -32769.0, 1e9,
                   std::numeric_limits<double>::quiet_NaN()}) {
    SCOPED_TRACE(x);
    EXPECT_EQ(error_of([&] { rt::store_int16(x); }), rt::kOverflow);
  }
}

TEST(IntegerRules, FloorStaysFloating) {
  const struct {
    double x, floor;
  } rows[] = {{2.5, 2},       {-2.5, -3},    {-0.5, -1},
              {3.0, 3},       {-3.0, -3},    {0.0, 0},
              {1e300, 1e300}, {-1e-300, -1}, {4503599627370495.5, 4503599627370495.0}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.x);
    EXPECT_EQ(rt::floor_value(row.x), row.floor);
  }
}

TEST(IntegerRules, HexText) {
  const struct {
    std::int32_t n;
    const char* text;
  } rows[] = {{0, "0"},
              {1, "1"},
              {10, "A"},
              {255, "FF"},
              {0xABCDEF, "ABCDEF"},
              {4096, "1000"},
              {-1, "FFFFFFFF"},
              {-2, "FFFFFFFE"},
              {-256, "FFFFFF00"},
              {std::numeric_limits<std::int32_t>::max(), "7FFFFFFF"},
              {std::numeric_limits<std::int32_t>::min(), "80000000"}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.text);
    EXPECT_EQ(rt::hex_text(row.n), row.text);
  }
}

}  // namespace
