// Any bytes as a delimited text spectrum: the reader never crashes or hangs; it either refuses
// with one of its own errors and a detail that names the file, or gives points that are finite,
// within single precision, in rising line order, each from a line that holds the point's own
// first two fields.

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "app/files/background.h"
#include "app/files/delimited_text_reader.h"
#include "app/shell/session.h"
#include "runtime/errors/runtime_error.h"

// The run-time's services need a program current on the thread; one serves every input.
extern "C" int LLVMFuzzerInitialize(int*, char***) {
  static app::Session session;
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  app::RawPoints p;
  try {
    p = app::read_delimited_text(bytes, "f.csv");
  } catch (const rt::RuntimeError& e) {
    const int n = e.number();
    if (n != rt::kBadNumericField && n != rt::kOverflow && n != rt::kStringTooLong)
      __builtin_trap();
    if (e.detail().rfind("f.csv", 0) != 0) __builtin_trap();
    return 0;
  }
  if (p.x.empty() || p.x.size() != p.y.size() || p.x.size() != p.line.size()) __builtin_trap();
  for (std::size_t i = 0; i < p.x.size(); ++i) {
    if (!std::isfinite(p.x[i]) || !std::isfinite(p.y[i])) __builtin_trap();
    if (std::fabs(p.x[i]) > 3.5e38 || std::fabs(p.y[i]) > 3.5e38) __builtin_trap();
    if (p.line[i] < 1 || (i > 0 && p.line[i] <= p.line[i - 1])) __builtin_trap();
  }
  // The backgrounds of whatever was read stay finite.
  if (p.x.size() <= 1001) {
    for (double b : app::shirley_background(p.x, p.y, 5))
      if (std::isnan(b)) __builtin_trap();
    for (double b : app::linear_background(p.x, p.y, 5))
      if (std::isnan(b)) __builtin_trap();
  }
  return 0;
}
