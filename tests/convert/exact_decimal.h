#pragma once
// An independent reference for number to text: the full decimal expansion of a double by
// plain big-integer arithmetic (no library conversion involved), rounded half up by hand.

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace test_ref {

// Little-endian base 10^9 big integer, just enough operations for m * 2^k and m * 5^k.
class BigDecimal {
 public:
  explicit BigDecimal(std::uint64_t v) {
    while (v) {
      limbs_.push_back(static_cast<std::uint32_t>(v % kBase));
      v /= kBase;
    }
  }
  void multiply(std::uint32_t factor) {
    std::uint64_t carry = 0;
    for (auto& limb : limbs_) {
      const std::uint64_t product = static_cast<std::uint64_t>(limb) * factor + carry;
      limb = static_cast<std::uint32_t>(product % kBase);
      carry = product / kBase;
    }
    while (carry) {
      limbs_.push_back(static_cast<std::uint32_t>(carry % kBase));
      carry /= kBase;
    }
  }
  std::string digits() const {
    std::string out(limbs_.size() * 9, '0');
    char* p = out.data() + out.size();
    for (std::uint32_t limb : limbs_)
      for (int n = 0; n < 9; ++n, limb /= 10) *--p = static_cast<char>('0' + limb % 10);
    const auto first = out.find_first_not_of('0');
    return first == std::string::npos ? "0" : out.substr(first);
  }

 private:
  static constexpr std::uint32_t kBase = 1000000000;
  std::vector<std::uint32_t> limbs_;
};

// All significant digits of |v| (v finite, nonzero) and the power of ten of the first one.
struct Expansion {
  std::string digits;
  int exponent;
};

inline Expansion exact_expansion(double v) {
  std::uint64_t bits;
  std::memcpy(&bits, &v, sizeof bits);
  std::uint64_t mantissa = bits & ((std::uint64_t{1} << 52) - 1);
  const int biased = static_cast<int>((bits >> 52) & 0x7FF);
  int e2;
  if (biased == 0) {
    e2 = -1074;
  } else {
    mantissa |= std::uint64_t{1} << 52;
    e2 = biased - 1075;
  }
  // v = mantissa * 2^e2 = mantissa * 5^-e2 / 10^-e2 for negative e2.
  BigDecimal big(mantissa);
  int shift = 0;
  if (e2 >= 0) {
    for (int k = 0; k < e2; k += 16) big.multiply(1u << std::min(16, e2 - k));
  } else {
    for (int k = 0; k < -e2; k += 13) {
      std::uint32_t factor = 1;
      for (int j = 0; j < std::min(13, -e2 - k); ++j) factor *= 5;
      big.multiply(factor);
    }
    shift = -e2;
  }
  std::string digits = big.digits();
  const int exponent = static_cast<int>(digits.size()) - 1 - shift;
  while (digits.size() > 1 && digits.back() == '0') digits.pop_back();
  return {digits, exponent};
}

// The first `d` digits rounded half up at digit d + 1, trailing zeros dropped.
inline Expansion rounded_half_up(double v, int d) {
  Expansion e = exact_expansion(v);
  std::string digits = e.digits;
  digits.resize(std::max<std::size_t>(digits.size(), d + 1), '0');
  const bool up = digits[d] >= '5';
  digits.resize(d);
  if (up) {
    int i = d - 1;
    while (i >= 0 && digits[i] == '9') digits[i--] = '0';
    if (i < 0) {
      digits = "1";
      ++e.exponent;
    } else {
      ++digits[i];
    }
  }
  while (digits.size() > 1 && digits.back() == '0') digits.pop_back();
  e.digits = digits;
  return e;
}

}  // namespace test_ref
