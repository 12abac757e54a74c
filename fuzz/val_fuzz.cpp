// Arbitrary bytes as the text of a field: val() and scan_number() must never crash, never give
// a non-finite value, and may fail only with error 6 (beyond the double range). The bytes also
// make numbers whose texts must read back as entirely a number.

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "app/shell/session.h"
#include "runtime/convert/number_text.h"
#include "runtime/convert/string_functions.h"
#include "runtime/convert/text_to_number.h"
#include "runtime/convert/trim.h"
#include "runtime/errors/runtime_error.h"

namespace {

void check(bool ok) {
  if (!ok) std::abort();
}

void check_text(std::string_view text) {
  try {
    const rt::NumberScan scan = rt::scan_number(text);
    check(scan.length <= text.size());
    check(std::isfinite(scan.value));
    check(scan.length > 0 || scan.value == 0);
    const double value = rt::val(text);
    check(std::memcmp(&value, &scan.value, sizeof value) == 0);
    // What follows the number does not change it.
    if (scan.length > 0) {
      const rt::NumberScan prefix = rt::scan_number(text.substr(0, scan.length));
      check(prefix.length == scan.length);
      check(std::memcmp(&prefix.value, &scan.value, sizeof value) == 0);
    }
  } catch (const rt::RuntimeError& e) {
    check(e.number() == rt::kOverflow);
  }
  // The text functions walk any bytes.
  check(rt::trim(text).size() <= text.size());
  check(rt::char_length(text) <= rt::byte_length(text));
  check(rt::compare_text(text, text) == 0);
}

// The greatest doubles show as 1.79769313486232D+308, rounded up past the range, and that
// text reads back as error 6; every other text reads back to within its rounding.
constexpr double kLastDoubleShownInRange = 1.797693134862315e308;

void check_number(double x, bool single) {
  if (!std::isfinite(x)) return;
  const std::string text =
      single ? rt::trimmed_single_text(static_cast<float>(x)) : rt::trimmed_double_text(x);
  rt::NumberScan scan;
  try {
    scan = rt::scan_number(text);
  } catch (const rt::RuntimeError& e) {
    check(e.number() == rt::kOverflow && !single && std::fabs(x) > kLastDoubleShownInRange);
    return;
  }
  check(scan.length == text.size());
  // Six digits for a single; fifteen for a double, but a plain text of up to 7 digits reads back
  // as a single, as every short text does.
  int digits = 0;
  for (char c : text) digits += c >= '0' && c <= '9' && (digits > 0 || c != '0');
  const bool stays_double = text.find('D') != std::string::npos || digits >= 8;
  const double tolerance = single ? 5.1e-6 : stays_double ? 5.3e-15 : 6e-8;
  const double shown = single ? static_cast<float>(x) : x;
  // Subnormals read back to the nearest of values a fixed step apart.
  const double step = single ? 1e-45 : 5e-324;
  check(std::fabs(scan.value - shown) <= std::fabs(shown) * tolerance + step);
}

}  // namespace

// The run-time's services need a program current on the thread; one serves every input.
extern "C" int LLVMFuzzerInitialize(int*, char***) {
  static app::Session session;
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  check_text(text);
  if (size >= sizeof(double)) {
    double x;
    std::memcpy(&x, data, sizeof x);
    check_number(x, false);
    float f;
    std::memcpy(&f, data, sizeof f);
    check_number(f, true);
  }
  return 0;
}
