#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <random>
#include <string>

#include "runtime/convert/number_text.h"
#include "runtime/convert/text_to_number.h"
#include "runtime/errors/runtime_error.h"
#include "tests/convert/exact_decimal.h"

namespace {

struct SingleRow {
  float x;
  const char* text;
};

// The documented examples first, then the boundaries of each layout and of the rounding.
const SingleRow kSingleRows[] = {
    {2.5f, " 2.5"},
    {-0.5f, "-.5"},
    {100.0f, " 100"},
    {123456.0f, " 123456"},
    {1234567.0f, " 1.23457E+06"},
    {1e-4f, " .0001"},
    {1e-6f, " .000001"},
    {1e-7f, " 1E-07"},
    {0.0123456f, " 1.23456E-02"},
    {9.999996f, " 10"},
    {0.1f, " .1"},
    {1e6f, " 1E+06"},
    {999999.0f, " 999999"},
    {0.5f, " .5"},
    {-1e-10f, "-1E-10"},
    {12.5f, " 12.5"},
    {-12.5f, "-12.5"},
    {0.0f, " 0"},
    {-0.0f, " 0"},
    {1.0f, " 1"},
    {-1.0f, "-1"},
    {10.0f, " 10"},
    // Exact halves at digit 7 go up; to_chars and printf would go to even.
    {123456.5f, " 123457"},
    {1234565.0f, " 1.23457E+06"},
    {1.015625f, " 1.01563"},
    {-1.015625f, "-1.01563"},
    {999999.5f, " 1E+06"},
    {99999.95f, " 100000"},  // the float is 99999.953125: digit 7 is 5, the carry runs through
    {0.9999995f, " 1"},
    {0.99999994f, " 1"},
    // Digit 7 below 5 truncates, whatever follows.
    {1234564.0f, " 1.23456E+06"},
    {3.14159265f, " 3.14159"},
    {2.7182817f, " 2.71828"},
    // Fixed against exponent form around the six-digit limit.
    {100000.0f, " 100000"},
    {999999.4f, " 999999"},
    {1e7f, " 1E+07"},
    {1.5e6f, " 1.5E+06"},
    {0.012345f, " .012345"},
    {0.00012f, " .00012"},
    {0.000123456f, " 1.23456E-04"},
    {0.00001f, " .00001"},
    {0.0000015f, " 1.5E-06"},
    {0.123456f, " .123456"},
    {0.1234567f, " .123457"},
    {0.01234567f, " 1.23457E-02"},
    {1.1f, " 1.1"},
    {3.3f, " 3.3"},
    {1234.5f, " 1234.5"},
    {0.3f, " .3"},
    // The extremes of the format.
    {FLT_MAX, " 3.40282E+38"},
    {-FLT_MAX, "-3.40282E+38"},
    {FLT_MIN, " 1.17549E-38"},
    {std::numeric_limits<float>::denorm_min(), " 1.4013E-45"},
    {1e38f, " 1E+38"},
    {1e-38f, " 1E-38"},
};

TEST(SingleText, Table) {
  for (const auto& row : kSingleRows) {
    SCOPED_TRACE(row.text);
    EXPECT_EQ(rt::single_text(row.x), row.text);
  }
}

// The sign takes the place of the blank and changes nothing else.
TEST(SingleText, NegativeMirrorsPositive) {
  for (const auto& row : kSingleRows) {
    if (row.x <= 0 || row.text[0] != ' ') continue;
    SCOPED_TRACE(row.text);
    EXPECT_EQ(rt::single_text(-row.x), "-" + std::string(row.text + 1));
  }
}

struct DoubleRow {
  double x;
  const char* text;
};

const DoubleRow kDoubleRows[] = {
    {static_cast<double>(0.1f), " .100000001490116"},
    {1e20, " 1D+020"},
    {0.1, " .1"},
    {0.0, " 0"},
    {-0.0, " 0"},
    {2.5, " 2.5"},
    {-0.5, "-.5"},
    {1.0 / 3.0, " .333333333333333"},
    {2.0 / 3.0, " .666666666666667"},
    {-2.0 / 3.0, "-.666666666666667"},
    {123456789012345678.0, " 1.23456789012346D+017"},
    {100000000000000.0, " 100000000000000"},
    {999999999999999.0, " 999999999999999"},
    {1e15, " 1D+015"},
    {1e-14, " .00000000000001"},
    {1e-15, " .000000000000001"},
    {1e-16, " 1D-016"},
    {1.5e-15, " 1.5D-015"},
    // Exact halves at digit 16 go up (nearest-even would give ...00 and ...02).
    {1000000000000005.0, " 1.00000000000001D+015"},
    {1000000000000025.0, " 1.00000000000003D+015"},
    {-1000000000000025.0, "-1.00000000000003D+015"},
    {9999999999999995.0, " 1D+016"},
    {0.3, " .3"},
    {3.141592653589793, " 3.14159265358979"},
    {2.718281828459045, " 2.71828182845905"},
    {1e100, " 1D+100"},
    {1e-100, " 1D-100"},
    {1.5e300, " 1.5D+300"},
    {1e-300, " 1D-300"},
    {DBL_MAX, " 1.79769313486232D+308"},
    {DBL_MIN, " 2.2250738585072D-308"},
    {std::numeric_limits<double>::denorm_min(), " 4.94065645841247D-324"},
    {static_cast<double>(123456.5f), " 123456.5"},
    {static_cast<double>(1e-4f), " 9.99999974737875D-005"},
};

TEST(DoubleText, Table) {
  for (const auto& row : kDoubleRows) {
    SCOPED_TRACE(row.text);
    EXPECT_EQ(rt::double_text(row.x), row.text);
  }
}

TEST(TrimmedText, DropsOnlyTheSignBlank) {
  EXPECT_EQ(rt::trimmed_single_text(12.5f), "12.5");
  EXPECT_EQ(rt::trimmed_single_text(-12.5f), "-12.5");
  EXPECT_EQ(rt::trimmed_single_text(0.0f), "0");
  EXPECT_EQ(rt::trimmed_single_text(1e-7f), "1E-07");
  EXPECT_EQ(rt::trimmed_double_text(0.1), ".1");
  EXPECT_EQ(rt::trimmed_double_text(-1e20), "-1D+020");
}

TEST(NumberText, NonFiniteIsAnErrorNotAText) {
  const float inf = std::numeric_limits<float>::infinity();
  const float nan = std::numeric_limits<float>::quiet_NaN();
  try {
    rt::single_text(inf);
    FAIL() << "no error";
  } catch (const rt::RuntimeError& e) {
    EXPECT_EQ(e.number(), rt::kOverflow);
  }
  try {
    rt::double_text(nan);
    FAIL() << "no error";
  } catch (const rt::RuntimeError& e) {
    EXPECT_EQ(e.number(), rt::kInvalidArgument);
  }
}

// Reads a text of the conversion back into digits and the power of ten of the first one,
// checking its shape on the way: sign or blank, no zero before the point, no trailing zeros,
// the exponent with its fixed width.
testing::AssertionResult parse_text(const std::string& text, char letter, int exponent_width,
                                    test_ref::Expansion& out) {
  if (text.size() < 2 || (text[0] != ' ' && text[0] != '-'))
    return testing::AssertionFailure() << "bad sign position";
  std::string body = text.substr(1);
  std::string mantissa = body;
  int exponent_part = 0;
  bool exponent_form = false;
  if (auto at = body.find(letter); at != std::string::npos) {
    exponent_form = true;
    mantissa = body.substr(0, at);
    const std::string exponent = body.substr(at + 1);
    if (exponent.size() < 2 || (exponent[0] != '+' && exponent[0] != '-'))
      return testing::AssertionFailure() << "bad exponent";
    const std::string magnitude = exponent.substr(1);
    const bool wide_enough = static_cast<int>(magnitude.size()) ==
                             std::max(exponent_width, magnitude.size() > 2 ? 3 : 2);
    if (!wide_enough || magnitude.find_first_not_of("0123456789") != std::string::npos)
      return testing::AssertionFailure() << "bad exponent digits";
    exponent_part = std::stoi(magnitude) * (exponent[0] == '-' ? -1 : 1);
  }
  const auto point = mantissa.find('.');
  const std::string before = mantissa.substr(0, point);
  const std::string after = point == std::string::npos ? "" : mantissa.substr(point + 1);
  if (point != std::string::npos && after.empty())
    return testing::AssertionFailure() << "point without digits";
  if (!after.empty() && after.back() == '0')
    return testing::AssertionFailure() << "trailing zero after the point";
  if (!before.empty() && before[0] == '0')
    return testing::AssertionFailure() << "zero before the point";
  if (exponent_form && before.size() != 1)
    return testing::AssertionFailure() << "exponent form needs one leading digit";
  std::string digits = before + after;
  if (digits.empty() || digits.find_first_not_of("0123456789") != std::string::npos)
    return testing::AssertionFailure() << "bad digits";
  const auto first = digits.find_first_not_of('0');
  if (first == std::string::npos) return testing::AssertionFailure() << "no nonzero digit";
  out.exponent = static_cast<int>(before.size()) - 1 - static_cast<int>(first) + exponent_part;
  digits = digits.substr(first);
  while (digits.size() > 1 && digits.back() == '0') digits.pop_back();
  out.digits = digits;
  return testing::AssertionSuccess();
}

// Checks one value against the independent reference, and that the rule's choice between the
// plain and the exponent form was made.
testing::AssertionResult matches_reference(double x, const std::string& text, int d, char letter,
                                           int exponent_width) {
  test_ref::Expansion got;
  if (auto shape = parse_text(text, letter, exponent_width, got); !shape)
    return shape << " in " << text;
  if ((text[0] == '-') != std::signbit(x)) return testing::AssertionFailure() << "sign of " << text;
  const test_ref::Expansion want = test_ref::rounded_half_up(std::fabs(x), d);
  if (got.digits != want.digits || got.exponent != want.exponent)
    return testing::AssertionFailure()
           << text << " but the reference has " << want.digits << " x 10^" << want.exponent;
  const int n = want.exponent;
  const int k = static_cast<int>(want.digits.size());
  const bool plain = (n >= 0 && n < d) || (n < 0 && -n + k - 2 < d);
  if (plain != (text.find(letter) == std::string::npos))
    return testing::AssertionFailure() << text << ": wrong form";
  return testing::AssertionSuccess();
}

float float_from_bits(std::uint32_t bits) {
  float f;
  std::memcpy(&f, &bits, sizeof f);
  return f;
}

double double_from_bits(std::uint64_t bits) {
  double f;
  std::memcpy(&f, &bits, sizeof f);
  return f;
}

TEST(SingleText, SeededRandomBitPatternsMatchExactReference) {
  std::mt19937 random(20240611);
  int checked = 0;
  while (checked < 100000) {
    const float x = float_from_bits(static_cast<std::uint32_t>(random()));
    if (!std::isfinite(x) || x == 0) continue;
    ++checked;
    ASSERT_TRUE(matches_reference(x, rt::single_text(x), 6, 'E', 2)) << "bits of " << x;
  }
}

// Values of the size the program shows (peak parameters, axis ranges), where the layouts meet.
TEST(SingleText, SeededRandomFieldSizedValuesMatchExactReference) {
  std::mt19937 random(7);
  std::uniform_real_distribution<double> mantissa(1.0, 10.0);
  std::uniform_int_distribution<int> power(-9, 9);
  for (int i = 0; i < 100000; ++i) {
    const float x = static_cast<float>(mantissa(random) * std::pow(10.0, power(random))) *
                    (i % 2 ? -1.0f : 1.0f);
    ASSERT_TRUE(matches_reference(x, rt::single_text(x), 6, 'E', 2)) << x;
  }
}

TEST(DoubleText, SeededRandomBitPatternsMatchExactReference) {
  std::mt19937_64 random(42);
  int checked = 0;
  while (checked < 40000) {
    const double x = double_from_bits(random());
    if (!std::isfinite(x) || x == 0) continue;
    ++checked;
    ASSERT_TRUE(matches_reference(x, rt::double_text(x), 15, 'D', 3)) << "bits " << checked;
  }
}

// Floats widened: the texts the double fields of the program get from single values.
TEST(DoubleText, SeededRandomWidenedFloatsMatchExactReference) {
  std::mt19937 random(99);
  int checked = 0;
  while (checked < 40000) {
    const float x = float_from_bits(static_cast<std::uint32_t>(random()));
    if (!std::isfinite(x) || x == 0) continue;
    ++checked;
    ASSERT_TRUE(matches_reference(x, rt::double_text(x), 15, 'D', 3)) << x;
  }
}

// Doubles next to a carry: 16 nines followed by anything, and values one ulp away from halves.
TEST(DoubleText, NearCarryAndHalfwayValuesMatchExactReference) {
  for (int power = -300; power <= 300; power += 7) {
    for (double base : {9.9999999999999995, 9.999999999999998, 1.0000000000000005,
                        1.2345678901234550, 5.0000000000000005}) {
      double x = base * std::pow(10.0, power);
      for (int step = 0; step < 8; ++step, x = std::nextafter(x, 0.0)) {
        SCOPED_TRACE(x);
        ASSERT_TRUE(matches_reference(x, rt::double_text(x), 15, 'D', 3));
        ASSERT_TRUE(matches_reference(-x, rt::double_text(-x), 15, 'D', 3));
      }
    }
  }
}

// Significant digits written in a plain text (leading zeros do not count).
int written_digits(const std::string& text) {
  int count = 0;
  bool started = false;
  for (char c : text) {
    if (c < '0' || c > '9') continue;
    started |= c != '0';
    count += started;
  }
  return count;
}

// What a field or a file gets must read back as entirely a number, to the value it showed.
TEST(NumberText, TextsReadBackAsWholeNumbers) {
  std::mt19937 random(5);
  for (int i = 0; i < 50000; ++i) {
    const float x = float_from_bits(static_cast<std::uint32_t>(random()));
    if (!std::isfinite(x)) continue;
    const std::string single = rt::trimmed_single_text(x);
    const rt::NumberScan scan = rt::scan_number(single);
    ASSERT_EQ(scan.length, single.size()) << single;
    // Half a unit of the sixth digit, and the single rounding of the read-back value.
    ASSERT_LE(std::fabs(scan.value - x), std::fabs(x) * 5.1e-6 + 1e-45) << single;

    const double wide = double_from_bits((std::uint64_t{random()} << 32) | random());
    if (!std::isfinite(wide)) continue;
    const std::string text = rt::trimmed_double_text(wide);
    const rt::NumberScan back = rt::scan_number(text);
    ASSERT_EQ(back.length, text.size()) << text;
    // A short plain text reads back as a single, as every text of few digits does.
    const bool stays_double = text.find('D') != std::string::npos || written_digits(text) >= 8;
    const double tolerance = stays_double ? 5.3e-15 : 6e-8;
    ASSERT_LE(std::fabs(back.value - wide), std::fabs(wide) * tolerance + 1e-323) << text;
  }
}

#ifdef TESSALY_SLOW_TESTS
TEST(SingleText, EveryFloatMatchesExactReference) {
  std::uint64_t failures = 0;
  for (std::uint64_t bits = 0; bits <= 0xFFFFFFFFu; ++bits) {
    const float x = float_from_bits(static_cast<std::uint32_t>(bits));
    if (!std::isfinite(x) || x == 0) continue;
    if (!matches_reference(x, rt::single_text(x), 6, 'E', 2)) {
      ADD_FAILURE() << "bits " << bits << ": " << rt::single_text(x);
      if (++failures == 20) return;
    }
  }
}
#endif

}  // namespace
