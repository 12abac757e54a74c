// A text is a whole number only when its digits say so: long fractions around whole numbers
// from 2^24 to 2^31, where the nearest double is whole although the number is not, checked
// against an exact rational reading of the digits.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <random>
#include <string>

#include "runtime/convert/text_to_number.h"

namespace {

using Int = __int128;

bool same_double(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }

TEST(ValWholeNumbers, FractionsTooSmallForTheDoubleStillRoundToSingle) {
  struct Row {
    const char* text;
    double value;
  } rows[] = {
      {"27982381.0000000000000001e0", 27982382}, {"722943263.99999999999999999E-0", 722943232},
      {"-467683472.00000001E-0", -467683488},    {"2052302578.0000000000000001E-0", 2052302592},
      {"27982381.0000000000000000e0", 27982381},  // zeros after the point: whole
      {"2798238.10000000000e1", 27982381},        // the exponent moves the point first
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.text);
    EXPECT_TRUE(same_double(rt::val(r.text), r.value)) << rt::val(r.text);
  }
}

// The exact value of a text: all its digits as one integer over a power of ten.
struct Rational {
  Int numerator;  // signed
  int power;      // value = numerator / 10^power, power >= 0
};

Int power_of_ten(int n) {
  Int p = 1;
  while (n-- > 0) p *= 10;
  return p;
}

Int magnitude(Int v) { return v < 0 ? -v : v; }

// The nearest value of type Float to the rational, by exact comparison of the candidates
// around a first guess. The values here are far from ties (too few decimals to make one).
template <class Float>
double nearest(const Rational& r) {
  const long double guess =
      static_cast<long double>(r.numerator) / static_cast<long double>(power_of_ten(r.power));
  Float candidate = static_cast<Float>(guess);
  // Compare |candidate - value| as |candidate * 2^s * 10^p - numerator * 2^s| with 2^s making
  // the candidate an integer: the values here lie between 2^24 and 2^31.
  constexpr int shift = std::is_same_v<Float, float> ? 0 : 28;
  auto distance = [&](Float c) {
    const Int scaled = static_cast<Int>(std::ldexp(static_cast<long double>(c), shift));
    return magnitude(scaled * power_of_ten(r.power) - r.numerator * (Int{1} << shift));
  };
  for (;;) {
    const Float up = std::nextafter(candidate, std::numeric_limits<Float>::infinity());
    const Float down = std::nextafter(candidate, -std::numeric_limits<Float>::infinity());
    if (distance(up) < distance(candidate))
      candidate = up;
    else if (distance(down) < distance(candidate))
      candidate = down;
    else
      return candidate;
  }
}

TEST(ValWholeNumbers, AgreesWithExactDigitsAroundWholeNumbers) {
  std::mt19937_64 rng(9);
  const char* const letters[] = {"E", "e", "D", "d", ""};
  for (int n = 0; n < 60000; ++n) {
    const bool negative = rng() % 2;
    const std::int64_t whole =
        (std::int64_t{1} << 24) + static_cast<std::int64_t>(rng() % ((1u << 31) - (1u << 24)));
    const int fraction_length = 1 + static_cast<int>(rng() % 18);
    std::string fraction(fraction_length, '0');
    switch (rng() % 4) {
      case 0:
        fraction.back() = static_cast<char>('1' + rng() % 9);
        break;  // just above whole
      case 1:
        fraction.assign(fraction_length, '9');
        break;  // just below the next
      case 2:
        for (char& c : fraction) c = static_cast<char>('0' + rng() % 10);
        break;
      default:
        break;  // a whole number
    }
    const std::string integer = std::to_string(whole);
    const std::string digits = integer + fraction;
    const char* letter = letters[rng() % 5];
    // The point moved by the exponent: the same value written three ways.
    const int exponent = *letter ? std::max(static_cast<int>(rng() % 5) - 2, -fraction_length) : 0;
    const int point = static_cast<int>(integer.size()) - exponent;
    std::string text = (negative ? "-" : "") + digits.substr(0, point) + "." + digits.substr(point);
    // The point stands `exponent` places left of where the value has it ("-0" and "+0" alike).
    if (*letter)
      text += letter +
              std::string(exponent < 0   ? "-"
                          : exponent > 0 ? "+"
                          : rng() % 2    ? "-"
                                         : "+") +
              std::to_string(std::abs(exponent));

    Rational r{static_cast<Int>(std::stoll(integer)) * power_of_ten(fraction_length),
               fraction_length};
    for (int i = 0; i < fraction_length; ++i)
      r.numerator += (fraction[i] - '0') * power_of_ten(fraction_length - 1 - i);
    if (negative) r.numerator = -r.numerator;

    double expected;
    const bool is_whole = r.numerator % power_of_ten(r.power) == 0;
    const bool single =
        *letter == 'E' || *letter == 'e';  // no letter: 8 digits or more stay double
    if (is_whole)
      expected = static_cast<double>(r.numerator / power_of_ten(r.power));
    else if (single)
      expected = nearest<float>(r);
    else
      expected = nearest<double>(r);
    ASSERT_TRUE(same_double(rt::val(text), expected))
        << text << ": " << rt::val(text) << " != " << expected;
  }
}

}  // namespace
