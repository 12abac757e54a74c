#include "app/files/plain_number.h"

#include <charconv>
#include <cmath>

namespace app {

std::optional<double> plain_number(std::string_view text) {
  std::string_view digits = text;
  if (!digits.empty() && (digits.front() == '+' || digits.front() == '-')) digits.remove_prefix(1);
  // from_chars would also take "inf", "nan" and a second sign.
  if (digits.empty() ||
      !((digits.front() >= '0' && digits.front() <= '9') || digits.front() == '.'))
    return std::nullopt;
  double value = 0;
  const char* first = digits.data();
  const char* last = digits.data() + digits.size();
  const auto [end, ec] = std::from_chars(first, last, value, std::chars_format::general);
  if (ec != std::errc() || end != last || !std::isfinite(value)) return std::nullopt;
  return text.front() == '-' ? -value : value;
}

std::optional<std::int64_t> whole_number(std::string_view text) {
  bool negative = false;
  if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  if (text.empty() || text.front() < '0' || text.front() > '9') return std::nullopt;
  std::int64_t value = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return negative ? -value : value;
}

std::string_view trim_blanks(std::string_view text) {
  constexpr std::string_view kBlanks = " \t\r\n";
  const std::size_t first = text.find_first_not_of(kBlanks);
  if (first == std::string_view::npos) return {};
  const std::size_t last = text.find_last_not_of(kBlanks);
  return text.substr(first, last - first + 1);
}

}  // namespace app
