// Any bytes as a ".xy" export: the reader never crashes or hangs; it either refuses with one of
// its own errors and a detail that names the file, or gives regions whose points are finite,
// within single precision and in rising line order; the chosen region in binding energy has
// as many points as the file's region.

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "app/files/xy_reader.h"
#include "app/shell/session.h"
#include "runtime/errors/runtime_error.h"

namespace {

bool refused_well(const rt::RuntimeError& e) {
  const int n = e.number();
  if (n != rt::kBadNumericField && n != rt::kOverflow && n != rt::kStringTooLong &&
      n != rt::kInvalidArgument)
    return false;
  return e.detail().rfind("f.xy", 0) == 0;
}

}  // namespace

// The run-time's services need a program current on the thread; one serves every input.
extern "C" int LLVMFuzzerInitialize(int*, char***) {
  static app::Session session;
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  (void)app::is_xy_export(bytes);
  app::XyFile file;
  try {
    file = app::read_xy_file(bytes, "f.xy");
  } catch (const rt::RuntimeError& e) {
    if (!refused_well(e)) __builtin_trap();
    return 0;
  }
  for (const app::XyRegion& r : file.regions) {
    const app::RawPoints& p = r.points;
    if (p.x.size() != p.y.size() || p.x.size() != p.line.size()) __builtin_trap();
    for (std::size_t i = 0; i < p.x.size(); ++i) {
      if (!std::isfinite(p.x[i]) || !std::isfinite(p.y[i])) __builtin_trap();
      if (std::fabs(p.x[i]) > 3.5e38 || std::fabs(p.y[i]) > 3.5e38) __builtin_trap();
      if (p.line[i] < 1 || (i > 0 && p.line[i] <= p.line[i - 1])) __builtin_trap();
    }
  }
  try {
    const app::RawPoints p = app::read_xy(bytes, 1, 1486.6, "f.xy");
    if (p.x.size() != file.regions.front().points.x.size()) __builtin_trap();
  } catch (const rt::RuntimeError& e) {
    if (!refused_well(e)) __builtin_trap();
  }
  return 0;
}
