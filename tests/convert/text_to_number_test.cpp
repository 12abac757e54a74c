#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "runtime/convert/number_text.h"
#include "runtime/convert/text_to_number.h"
#include "runtime/errors/runtime_error.h"

namespace {

struct ScanRow {
  std::string text;
  double value;
  std::size_t length;  // end of the number within the text, leading blanks included
};

const std::string kIdeographicBlank = "\xe3\x80\x80";

bool same_double(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }

void expect_rows(const std::vector<ScanRow>& rows) {
  for (const auto& row : rows) {
    SCOPED_TRACE("text \"" + row.text + "\"");
    const rt::NumberScan scan = rt::scan_number(row.text);
    EXPECT_TRUE(same_double(scan.value, row.value)) << scan.value << " != " << row.value;
    EXPECT_EQ(scan.length, row.length);
    EXPECT_TRUE(same_double(rt::val(row.text), scan.value));
  }
}

TEST(Val, DocumentedExamples) {
  expect_rows({
      {"  3.5", 3.5, 5},
      {"3.5mm", 3.5, 3},
      {"", 0, 0},
      {"abc", 0, 0},
      {"-", 0, 0},
      {"-.5", -0.5, 3},
      {"1e3", 1000, 3},
      {"&HFF", 255, 4},
      {"12abc", 12, 2},
      {"12,5", 12, 2},
      {"12 5", 12, 2},
      {"\t5", 0, 0},
  });
}

TEST(Val, WhereTheNumberBeginsAndEnds) {
  expect_rows({
      {"   ", 0, 0},
      {" \t5", 0, 0},
      {kIdeographicBlank + "5", 0, 0},  // only the ASCII blank is skipped
      {"+5", 5, 2},
      {"+.5", 0.5, 3},
      {".5", 0.5, 2},
      {"5.", 5, 2},
      {".", 0, 0},
      {"-.", 0, 0},
      {"+", 0, 0},
      {"--5", 0, 0},
      {"+-5", 0, 0},
      {".e5", 0, 0},
      {"-0", 0, 2},
      {"000", 0, 3},
      {"3.5 ", 3.5, 3},
      {"1.2.3", static_cast<float>(1.2), 3},
      {"1e5e5", 100000, 3},
      // An exponent letter belongs to the number only with digits after it.
      {"1e", 1, 1},
      {"1e+", 1, 1},
      {"1E-", 1, 1},
      {"2d", 2, 1},
      {"1e+5", 100000, 4},
      {"1E-2", static_cast<float>(0.01), 4},
      {"1.5D+3", 1500, 6},
      {"1.5d3", 1500, 5},
      {"-1.5D-1", -0.15, 7},
      {"1 e5", 1, 1},
  });
}

// &H and &O read an unsigned magnitude that must fit in 32 bits.
TEST(Val, HexadecimalAndOctal) {
  expect_rows({
      {"&hff", 255, 4},
      {"&H0", 0, 3},
      {"&HFFFFFFFF", 4294967295.0, 10},
      {"&H000000000000FF", 255, 16},
      {"&H100000000", 0, 11},
      {"&H7FFFFFFF", 2147483647.0, 10},
      {"&HFFG", 255, 4},
      {"&HFF.5", 255, 4},
      {"  &H10", 16, 6},
      {"&O777", 511, 5},
      {"&o17", 15, 4},
      {"&O37777777777", 4294967295.0, 13},
      {"&O40000000000", 0, 13},
      {"&O78", 7, 3},
      {"&O8", 0, 0},
      {"&H", 0, 0},
      {"&HG", 0, 0},
      {"&", 0, 0},
      {"&X1", 0, 0},
      {"&B101", 0, 0},
      {"-&H1", 0, 0},
      {"& H1", 0, 0},
  });
}

// Whole numbers in the 32-bit range are exact; otherwise E or up to 7 significant digits
// without exponent round to single; D or 8 digits and more stay double.
TEST(Val, PrecisionOfTheResult) {
  const auto single = [](double v) { return static_cast<double>(static_cast<float>(v)); };
  expect_rows({
      {"0.1", single(0.1), 3},
      {"0.1E0", single(0.1), 5},
      {"0.1e0", single(0.1), 5},
      {"0.1D0", 0.1, 5},
      {"0.1d0", 0.1, 5},
      {"1.234567", single(1.234567), 8},
      {"1.2345678", 1.2345678, 9},
      {"0001.234567", single(1.234567), 11},         // leading zeros do not count
      {"0.0000001234567", single(1.234567e-7), 15},  // nor do those after the point
      {"0.00000012345678", 1.2345678e-7, 16},
      {"1234.567", single(1234.567), 8},
      {"1234.5670", 1234.567, 9},  // trailing zeros count: 8 digits written
      {"0.10000000", 0.1, 10},
      {"0.1000000", single(0.1), 9},
      {"3.141593", single(3.141593), 8},
      {"3.14159265", 3.14159265, 10},
      {"1.23456789E0", single(1.23456789), 12},  // E rounds however many digits
      {"-0.1", single(-0.1), 4},
      // Whole numbers: exact even where a single could not hold them.
      {"16777217", 16777217, 8},
      {"16777217E0", 16777217, 10},
      {"1.6777217E7", 16777217, 11},
      {"2147483647", 2147483647.0, 10},
      {"-2147483648", -2147483648.0, 11},
      {"-2147483648E0", -2147483648.0, 13},
      {"2147483648E0", 2147483648.0, 12},
      {"2147483649E0", single(2147483649.0), 12},  // beyond the 32-bit range: E rounds
      {"-2147483649E0", single(-2147483649.0), 13},
      {"2147483649", 2147483649.0, 10},  // 10 digits stay double
      {"1234567", 1234567, 7},
      {"1234567.5", 1234567.5, 9},
      {"123456.5", 123456.5, 8},
      {"1E10", 1e10, 4},
      {"12345678901234567890", 12345678901234567890.0, 20},
  });
}

TEST(Val, RangeLimits) {
  expect_rows({
      {"1.7976931348623157D308", 1.7976931348623157e308, 22},
      {"4.9D-324", 4.9406564584124654e-324, 8},
      {"1D-400", 0, 6},
      {"1e-999", 0, 6},
      {"-1e-999", 0, 7},
      {"1e-46", 0, 5},  // beneath the least single: zero, no error
      {"1e-40", static_cast<double>(1e-40f), 5},
      {"3.4E38", static_cast<double>(3.4e38f), 6},
      {"1e-99999999999999999999", 0, 23},
      {"0e999999", 0, 8},
      {"0.000000000000000000000000000000000000000000000000001e51", 1, 56},
  });
}

TEST(Val, BeyondTheRangeIsErrorSix) {
  for (const std::string& text : std::vector<std::string>{
           "1e999", "1D400", "-1e999", "1.8D308", "1e39", "-3.5E38", "1e99999999999999999999",
           "100000000000000000000000000000000000000000E0", "1" + std::string(310, '0')}) {
    SCOPED_TRACE(text);
    try {
      rt::val(text);
      ADD_FAILURE() << "no error";
    } catch (const rt::RuntimeError& e) {
      EXPECT_EQ(e.number(), rt::kOverflow);
    }
  }
}

// Long digit strings are cut for parsing; what is cut must still decide the rounding.
TEST(Val, LongMantissasRoundCorrectly) {
  // 1 + 2^-53, the exact halfway point between 1 and the next double: ties go to even.
  const std::string half = "1.00000000000000011102230246251565404236316680908203125";
  const double next = std::nextafter(1.0, 2.0);
  EXPECT_EQ(rt::val(half), 1.0);
  EXPECT_EQ(rt::val(half + std::string(900, '0')), 1.0);
  EXPECT_EQ(rt::val(half + std::string(900, '0') + "1"), next);
  EXPECT_EQ(rt::val(half + std::string(2000, '0') + "1D0"), next);
  EXPECT_EQ(rt::val(std::string(1000, '0') + half), 1.0);
  // Digits beyond the cut shift the power of ten.
  EXPECT_EQ(rt::val("1" + std::string(1000, '0') + "D-1000"), 1.0);
  EXPECT_EQ(rt::val("0." + std::string(1000, '0') + "1D1001"), 1.0);
  EXPECT_EQ(rt::val("1" + std::string(299, '0')), 1e299);
}

// Short numbers take a quicker road than long ones; both must round as the general parser
// does. Random mantissas of 1 to 15 digits, with and without a point, under powers of ten on
// both sides of the quick road's limits, read in the double (D) and the single (E) form.
TEST(Val, ShortNumbersRoundAsTheParserDoes) {
  std::mt19937_64 random(20261210);
  for (int n = 0; n < 20000; ++n) {
    const int digits = 1 + static_cast<int>(random() % 15);
    std::string mantissa;
    for (int i = 0; i < digits; ++i) mantissa += static_cast<char>('0' + random() % 10);
    const int after_point = static_cast<int>(random() % (digits + 1));
    const int exponent = static_cast<int>(random() % 61) - 30;
    std::string written = mantissa;
    if (after_point > 0) written.insert(written.end() - after_point, '.');
    if (random() % 2) written = "-" + written;
    const std::string plain = written + "e" + std::to_string(exponent);
    double as_double = 0;
    float as_single = 0;
    std::from_chars(plain.data(), plain.data() + plain.size(), as_double);
    std::from_chars(plain.data(), plain.data() + plain.size(), as_single);
    // A whole number within 32 bits reads exactly, in either form.
    const std::uint64_t m = std::stoull(mantissa);
    const int power = exponent - after_point;
    bool whole = power >= 0 || m == 0;
    if (!whole && power >= -15) {
      std::uint64_t ten = 1;
      for (int i = 0; i < -power; ++i) ten *= 10;
      whole = m % ten == 0;
    }
    const bool in_32_bits = as_double >= -2147483648.0 && as_double <= 2147483647.0;
    const double single_form = whole && in_32_bits ? as_double : static_cast<double>(as_single);
    SCOPED_TRACE(plain);
    EXPECT_TRUE(same_double(rt::val(written + "D" + std::to_string(exponent)), as_double + 0.0));
    if (std::fabs(as_double) < 1e38) {  // beyond it the single form is error 6
      EXPECT_TRUE(
          same_double(rt::val(written + "E" + std::to_string(exponent)), single_form + 0.0));
    }
  }
}

// Texts in the exponent form or with 8 digits and more read back as doubles; a short plain text
// such as ".1" reads back as a single, like any other short text.
TEST(Val, ReadsBackWhatDoubleTextWrote) {
  const struct {
    double x, back;
  } rows[] = {{1.0 / 3, 1.0 / 3},
              {1e20, 1e20},
              {-2.5e-300, -2.5e-300},
              {6.02214076e23, 6.02214076e23},
              {123456789.125, 123456789.125},
              {0.1, static_cast<double>(0.1f)},
              {2.5, 2.5}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.x);
    const std::string text = rt::trimmed_double_text(row.x);
    EXPECT_NEAR(rt::val(text), row.back, std::fabs(row.x) * 5e-15) << text;
  }
}

// Rounding half up at 15 digits takes the greatest doubles past the range: their text is
// correct, and reading it is an overflow like any other text beyond the range.
TEST(Val, TheGreatestDoublesShowBeyondTheRange) {
  const double max = std::numeric_limits<double>::max();
  EXPECT_EQ(rt::trimmed_double_text(max), "1.79769313486232D+308");
  EXPECT_EQ(rt::trimmed_double_text(1.797693134862315e308), "1.79769313486231D+308");
  EXPECT_EQ(rt::val("1.79769313486231D+308"), 1.79769313486231e308);
  try {
    rt::val(rt::trimmed_double_text(-max));
    FAIL() << "no error";
  } catch (const rt::RuntimeError& e) {
    EXPECT_EQ(e.number(), rt::kOverflow);
  }
}

TEST(Val, ErrorNamesTheCallersLine) {
  const unsigned line = __LINE__ + 2;
  try {
    rt::val("1e999");
    FAIL() << "no error";
  } catch (const rt::RuntimeError& e) {
    EXPECT_EQ(e.line(), line);
    EXPECT_EQ(e.module(), "MAIN.BAS");
    EXPECT_EQ(e.source(), "tests/convert/text_to_number_test.cpp:" + std::to_string(line));
  }
}

}  // namespace
