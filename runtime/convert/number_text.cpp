#include "runtime/convert/number_text.h"

#include <array>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>

#include "runtime/errors/error_locations.h"
#include "runtime/errors/runtime_error.h"

namespace rt {

// Location codes of this file's checks.
constexpr std::uint32_t kTextOfNotANumber =
    convert_location(Operation::NumberToText, ConvertCheck::NotANumber);
constexpr std::uint32_t kTextOfInfinity =
    convert_location(Operation::NumberToText, ConvertCheck::Infinite);

namespace {

// The leading digits of a positive finite value, exactly as they stand in its full decimal
// expansion (truncated, never rounded), with the power of ten of the first digit.
struct LeadingDigits {
  char digits[17];  // '0'..'9', count of them valid
  int count;
  int exponent;
};

// A buffer that holds any double's complete expansion in scientific form: at most 767
// significant digits, the point, "e-324".
constexpr int kBufferSize = 800;

// Reads to_chars' scientific output "d.ddde+XX": the first `count` digits and the exponent.
void take_digits(const char* text, const char* end, int count, LeadingDigits& out) {
  int taken = 0;
  const char* p = text;
  for (; p != end && *p != 'e'; ++p) {
    if (*p != '.' && taken < count) out.digits[taken++] = *p;
  }
  out.count = taken;
  int exponent = 0;
  std::from_chars(p + 1 + (p[1] == '+'), end, exponent);
  out.exponent = exponent;
}

// The leading digits by integer arithmetic, for the values of everyday size: v = m * 2^e with m
// odd, and the first `count` digits are floor(v * 10^s) for the s that gives `count` of them;
// m * 5^s and the shifts by the powers of two stay within 128 bits when |s| <= 27. False when
// v is beyond that (the far exponents).
constexpr auto kPowersOfFive = [] {
  std::array<std::uint64_t, 28> powers{};
  powers[0] = 1;
  for (std::size_t i = 1; i < powers.size(); ++i) powers[i] = powers[i - 1] * 5;
  return powers;
}();
constexpr auto kPowersOfTen = [] {
  std::array<std::uint64_t, 18> powers{};
  powers[0] = 1;
  for (std::size_t i = 1; i < powers.size(); ++i) powers[i] = powers[i - 1] * 10;
  return powers;
}();

bool leading_digits_exactly(double v, int count, LeadingDigits& out) {
  using Wide = unsigned __int128;
  constexpr int kMaxPower = 27;  // 5^27 < 2^63
  int e2;
  const double fraction = std::frexp(v, &e2);
  auto m = static_cast<std::uint64_t>(std::ldexp(fraction, 53));
  const int zeros = std::countr_zero(m);
  m >>= zeros;
  const int e = e2 - 53 + zeros;
  const Wide pow10 = kPowersOfTen[count - 1];  // the least number of `count` digits
  // The power of ten of the first digit: log10(v) lies within one of e2 * log10 2.
  int power = static_cast<int>(std::floor((e2 - 1) * 0.30102999566398120));
  for (int attempt = 0; attempt < 3; ++attempt) {
    const int s = count - 1 - power;
    if (s > kMaxPower || s < -kMaxPower) return false;
    const Wide five = kPowersOfFive[s < 0 ? -s : s];
    // A result of 2^64 or more has more than `count` digits (count <= 17): then only that
    // matters, and it is not formed.
    const Wide too_many = pow10 * 10;
    const int shift = e + s;
    Wide digits;
    if (s >= 0) {
      // m * 5^s * 2^(e + s)
      const Wide scaled = Wide{m} * five;  // below 2^53 * 2^63
      if (shift >= 0)
        digits = shift >= 64 || (scaled >> (64 - shift)) != 0 ? too_many : scaled << shift;
      else
        digits = -shift >= 127 ? 0 : scaled >> -shift;
    } else {
      // m * 2^e / (5^-s * 2^-s)
      if (shift >= 0)
        digits = shift >= 64 ? too_many : (Wide{m} << shift) / five;
      else
        digits = -shift >= 64 ? 0 : Wide{m} / (five << -shift);
    }
    if (digits < pow10) {
      --power;
    } else if (digits >= pow10 * 10) {
      ++power;
    } else {
      for (int i = count - 1; i >= 0; --i) {
        out.digits[i] = static_cast<char>('0' + static_cast<int>(digits % 10));
        digits /= 10;
      }
      out.count = count;
      out.exponent = power;
      return true;
    }
  }
  return false;
}

// to_chars with a precision rounds to nearest at the digit after the last one it writes, so its
// leading digits are exact unless that rounding carried into them. Two ways keep them exact:
// asking for at least as many digits as the expansion has (the rounding then drops only zeros),
// or asking for spare digits and checking that the carry stopped inside the spares (a carry
// leaves zeros behind it, so one nonzero spare proves it never reached the digits we keep).
LeadingDigits leading_digits(double v, int count) {
  LeadingDigits out{};
  if (leading_digits_exactly(v, count, out)) return out;
  // v = odd * 2^binary_exponent; the expansion then has max(0, -binary_exponent) digits after
  // the point and at most (power of ten of the first digit) + 1 before it.
  int e2;
  const double fraction = std::frexp(v, &e2);  // v = fraction * 2^e2, fraction in [0.5, 1)
  const auto mantissa = static_cast<std::uint64_t>(std::ldexp(fraction, 53));
  const int binary_exponent = e2 - 53 + std::countr_zero(mantissa);
  // v < 2^e2, so the first digit's power of ten is at most floor(e2 * log10 2); +1 for safety.
  const int max_power = static_cast<int>(std::floor(e2 * 0.30102999566398120)) + 1;
  const int all_digits = max_power + 1 + (binary_exponent < 0 ? -binary_exponent : 0);

  char buffer[kBufferSize];
  constexpr int kSpare = 24;
  if (all_digits > count + kSpare) {
    const int asked = count + kSpare;
    auto r =
        std::to_chars(buffer, buffer + kBufferSize, v, std::chars_format::scientific, asked - 1);
    // Digit i (0-based) stands at buffer[i + 1] for i >= 1, after the point.
    bool carry_stopped = false;
    for (int i = count; i < asked; ++i) carry_stopped |= buffer[i + 1] != '0';
    if (carry_stopped) {
      take_digits(buffer, r.ptr, count, out);
      return out;
    }
  }
  // Here the expansion fits the request, or the spares were all zeros (a carry may have run
  // through them, or the expansion simply ends early): write it out completely.
  const int precision = (all_digits > count ? all_digits : count) - 1;
  auto r = std::to_chars(buffer, buffer + kBufferSize, v, std::chars_format::scientific, precision);
  take_digits(buffer, r.ptr, count, out);
  return out;
}

// The text of the rule shared by both precisions: `significant` digits (6 or 15), exponent
// letter, exponent digits at least `exponent_width` (2 for single, 3 for double).
std::string number_text(double x, int significant, char letter, int exponent_width) {
  if (x == 0) return " 0";  // negative zero too
  // Checked arithmetic keeps these away; should one slip through, fail rather than show junk.
  if (std::isnan(x)) raise_error(kInvalidArgument, kTextOfNotANumber);
  if (std::isinf(x)) raise_error(kOverflow, kTextOfInfinity);
  LeadingDigits lead = leading_digits(std::fabs(x), significant + 1);

  // Digit d + 1 of 5 or more rounds up: halves go away from zero, unlike to_chars and printf.
  char* digits = lead.digits;
  int n = lead.exponent;
  int k = significant;
  if (digits[significant] >= '5') {
    int i = significant - 1;
    while (i >= 0 && digits[i] == '9') digits[i--] = '0';
    if (i >= 0) {
      ++digits[i];
    } else {
      digits[0] = '1';  // 99..9 became 100..0: one digit, one power of ten higher
      k = 1;
      ++n;
    }
  }
  while (k > 1 && digits[k - 1] == '0') --k;

  std::string text;
  text.reserve(24);
  text += x < 0 ? '-' : ' ';
  if (n >= 0 && n < significant) {
    if (k > n + 1) {
      text.append(digits, n + 1);
      text += '.';
      text.append(digits + n + 1, k - n - 1);
    } else {
      text.append(digits, k);
      text.append(n + 1 - k, '0');
    }
  } else if (n < 0 && -n + k - 2 < significant) {
    text += '.';  // no zero before the point
    text.append(-n - 1, '0');
    text.append(digits, k);
  } else {
    text += digits[0];
    if (k > 1) {
      text += '.';
      text.append(digits + 1, k - 1);
    }
    text += letter;
    text += n < 0 ? '-' : '+';
    const int magnitude = n < 0 ? -n : n;
    char exponent[8];
    auto r = std::to_chars(exponent, exponent + sizeof exponent, magnitude);
    const int written = static_cast<int>(r.ptr - exponent);
    const int width = magnitude >= 100 && exponent_width < 3 ? 3 : exponent_width;
    if (written < width) text.append(width - written, '0');
    text.append(exponent, r.ptr);
  }
  return text;
}

std::string without_leading_blank(std::string text) {
  if (!text.empty() && text.front() == ' ') text.erase(0, 1);
  return text;
}

}  // namespace

// A float widens to double exactly, so its digits are those of the widened value.
std::string single_text(float x) { return number_text(x, 6, 'E', 2); }

std::string double_text(double x) { return number_text(x, 15, 'D', 3); }

// The untrimmed text has exactly one blank, the sign position of a non-negative number.
std::string trimmed_single_text(float x) { return without_leading_blank(single_text(x)); }

std::string trimmed_double_text(double x) { return without_leading_blank(double_text(x)); }

}  // namespace rt
