#pragma once
// Location codes of the checks in arithmetic and in number and text conversion: the operation
// in the high part, the check within it in the low 8 bits (the error log shows both).

#include <cstdint>

namespace rt::convert_site {

constexpr std::uint32_t code(std::uint32_t operation, std::uint32_t check) {
  return operation << 8 | check;
}

// Operations.
inline constexpr std::uint32_t kChecked = 0x501;
inline constexpr std::uint32_t kDivide = 0x502;
inline constexpr std::uint32_t kToSingle = 0x503;
inline constexpr std::uint32_t kPower = 0x504;
inline constexpr std::uint32_t kLog = 0x505;
inline constexpr std::uint32_t kExp = 0x506;
inline constexpr std::uint32_t kIntegerDivide = 0x507;
inline constexpr std::uint32_t kIntegerRemainder = 0x508;
inline constexpr std::uint32_t kToInteger = 0x509;
inline constexpr std::uint32_t kToInt16 = 0x50A;
inline constexpr std::uint32_t kTextToNumber = 0x50B;
inline constexpr std::uint32_t kNumberToText = 0x50C;
inline constexpr std::uint32_t kCodePage = 0x50D;
inline constexpr std::uint32_t kStringFunction = 0x50E;

// Checks.
inline constexpr std::uint32_t kNotANumber = 1;      // an invalid operation's result
inline constexpr std::uint32_t kInfinite = 2;        // beyond the double range
inline constexpr std::uint32_t kZeroDivisor = 3;
inline constexpr std::uint32_t kZeroByZero = 4;
inline constexpr std::uint32_t kBeyondRange = 5;     // too large for the destination
inline constexpr std::uint32_t kBadArgument = 6;     // outside the operation's domain
inline constexpr std::uint32_t kUnconvertible = 7;   // text without a code-page form

}  // namespace rt::convert_site
