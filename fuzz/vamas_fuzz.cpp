// Any bytes as a VAMAS file, read for blocks 1 and 2: the reader never crashes or hangs; it
// either refuses with one of its own errors and a detail that names the file, or gives finite
// points within single precision, in rising line order. The seeds are best made from a valid
// file (see tests/scenarios/files_raw_vamas), which the fuzzer then mutates.

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "app/files/vamas_reader.h"
#include "app/shell/session.h"
#include "runtime/errors/runtime_error.h"

namespace {

void read_block(std::string_view bytes, int block) {
  app::RawPoints p;
  try {
    p = app::read_vamas(bytes, block, "f.vms");
  } catch (const rt::RuntimeError& e) {
    const int n = e.number();
    if (n != rt::kBadNumericField && n != rt::kOverflow && n != rt::kStringTooLong &&
        n != rt::kReadPastEnd && n != rt::kNotSupported && n != rt::kInvalidArgument)
      __builtin_trap();
    if (e.detail().rfind("f.vms", 0) != 0) __builtin_trap();
    return;
  }
  if (p.x.size() != p.y.size() || p.x.size() != p.line.size()) __builtin_trap();
  for (std::size_t i = 0; i < p.x.size(); ++i) {
    if (!std::isfinite(p.x[i]) || !std::isfinite(p.y[i])) __builtin_trap();
    if (std::fabs(p.x[i]) > 3.5e38 || std::fabs(p.y[i]) > 3.5e38) __builtin_trap();
    if (p.line[i] < 1 || (i > 0 && p.line[i] <= p.line[i - 1])) __builtin_trap();
  }
}

}  // namespace

// The run-time's services need a program current on the thread; one serves every input.
extern "C" int LLVMFuzzerInitialize(int*, char***) {
  static app::Session session;
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  app::is_vamas(bytes);
  read_block(bytes, 1);
  read_block(bytes, 2);
  return 0;
}
