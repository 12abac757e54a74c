#pragma once
// Decimal text of an integer, independent of the process locale.

#include <charconv>
#include <cstdint>
#include <string>

namespace rt {

inline std::string decimal_text(std::int64_t n) {
  char buf[24];
  auto r = std::to_chars(buf, buf + sizeof buf, n);
  return std::string(buf, r.ptr);
}

// Decimal text padded with leading zeros to at least `width` digits (non-negative n).
inline std::string zero_padded(std::int64_t n, int width) {
  std::string s = decimal_text(n);
  if (static_cast<int>(s.size()) < width) s.insert(0, width - s.size(), '0');
  return s;
}

}  // namespace rt
