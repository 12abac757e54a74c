#include "app/files/raw_errors.h"

#include "runtime/convert/integer_text.h"
#include "runtime/convert/number_text.h"
#include "runtime/errors/runtime_error.h"

namespace app {
rt::RuntimeError raw_error(int number, RawCheck check, std::string detail,
                           std::source_location where) {
  rt::RuntimeError error(number, location(check), where);
  error.set_detail(std::move(detail));
  return error;
}

std::string line_place(const std::string& file_name, int line) {
  return file_name + " line " + rt::decimal_text(line);
}

std::string quoted(std::string_view text) {
  constexpr std::size_t kMost = 40;
  std::string out = "\"";
  for (std::size_t i = 0; i < text.size() && i < kMost; ++i) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    out += c >= 0x20 && c < 0x7F ? static_cast<char>(c) : '?';
  }
  if (text.size() > kMost) out += "...";
  return out + "\"";
}

std::string value_text(double v) {
  // Shown in single precision, as the fields show numbers; beyond its range the double form.
  if (v > -3.4e38 && v < 3.4e38) return rt::trimmed_single_text(static_cast<float>(v));
  return rt::trimmed_double_text(v);
}

}  // namespace app
