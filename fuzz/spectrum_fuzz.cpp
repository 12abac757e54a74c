// Any bytes as a spectrum file, loaded over a known spectrum: the load never crashes or hangs,
// a refused file leaves the spectrum, its ranges, the path and "Target" exactly as they were,
// and an accepted one stores what a plain reading of the same bytes gives.

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "app/files/spectrum_load.h"
#include "app/shell/program_view.h"
#include "app/shell/session.h"
#include "app/workspace/control_refs.h"
#include "app/workspace/workspace.h"
#include "fuzz/memory_file.h"
#include "runtime/convert/arithmetic.h"
#include "runtime/errors/runtime_error.h"
#include "runtime/files/field_reader.h"
#include "runtime/files/file_channels.h"
#include "runtime/forms/control_values.h"

namespace {

// The spectrum arrays as a good load before the fuzzed one left them. Kept and compared with
// block copies, so that the harness's own loops do not cost more than the load it checks.
struct KnownArrays {
  std::array<float, 2001> x;
  std::array<float, 1001> y;
  KnownArrays() {
    for (int i = 0; i <= 2000; ++i) x[static_cast<std::size_t>(i)] = static_cast<float>(i) + .5f;
    for (int i = 0; i <= 1000; ++i) y[static_cast<std::size_t>(i)] = static_cast<float>(-i);
  }
};
const KnownArrays& known() {
  static const KnownArrays arrays;
  return arrays;
}

// Whether the arrays from point `from` on hold what the earlier spectrum left.
bool known_from(int from) {
  const app::Workspace& w = app::workspace();
  const auto n = static_cast<std::size_t>(from);
  return std::memcmp(w.XDATA.data() + n, known().x.data() + n, (2001 - n) * sizeof(float)) == 0 &&
         std::memcmp(w.YDATA.data() + n, known().y.data() + n, (1001 - n) * sizeof(float)) == 0;
}

// The workspace as a good load before the fuzzed one left it.
void set_known_spectrum() {
  app::Workspace& w = app::workspace();
  std::memcpy(w.XDATA.data(), known().x.data(), sizeof known().x);
  std::memcpy(w.YDATA.data(), known().y.data(), sizeof known().y);
  w.LASTPOINT = 700;
  w.XMIN = w.DATAXMIN = 1;
  w.XMAX = w.DATAXMAX = 2;
  w.YMIN = w.DATAYMIN = 3;
  w.YMAX = w.DATAYMAX = 4;
  w.FILEPATH = "/earlier/good.bgd";
  rt::set_text(app::EDIT(1), "good.bgd");
}

bool spectrum_is_known() {
  const app::Workspace& w = app::workspace();
  const app::ProgramView view = app::view_program(app::ViewExtent::Fields);
  return known_from(0) && view.points == 701 && w.XMIN == 1 && w.DATAXMIN == 1 && w.XMAX == 2 &&
         w.DATAXMAX == 2 && w.YMIN == 3 && w.DATAYMIN == 3 && w.YMAX == 4 && w.DATAYMAX == 4 &&
         view.file == "/earlier/good.bgd" && rt::get_text(app::EDIT(1)) == "good.bgd";
}

struct Plain {
  std::vector<float> x, y;
  int error = 0;
};

// Records read straight from memory, without the file channels: three numbers a record, the
// ones with a background above 0 kept, at most 1001 of them.
Plain plain_reading(std::string_view bytes) {
  Plain p;
  rt::MemorySource source(bytes);
  rt::FieldReader reader(source, bytes.size(), 0, bytes.size() + 1);
  try {
    while (!reader.at_end()) {
      const float a = rt::to_single(reader.read_number());
      const float b = rt::to_single(reader.read_number());
      const float c = rt::to_single(reader.read_number());
      if (!(c > 0)) continue;
      if (p.x.size() == 1001) {
        p.error = rt::kSubscriptOutOfRange;
        break;
      }
      p.x.push_back(a);
      p.y.push_back(rt::to_single(static_cast<double>(b) - c));
    }
  } catch (const rt::RuntimeError& e) {
    p.error = e.number();
  }
  return p;
}

const std::string kPath = "/fuzz/spectrum.bgd";

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  static app::Session session;
  session.start();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  set_known_spectrum();
  const int error = fuzz_support::load_from_memory(kPath, bytes, app::load_spectrum);

  const Plain expected = plain_reading(bytes);
  if (error != expected.error) __builtin_trap();
  if (error != 0) {
    if (!spectrum_is_known()) __builtin_trap();
    return 0;
  }

  const app::Workspace& w = app::workspace();
  const app::ProgramView view = app::view_program(app::ViewExtent::Fields);
  const int n = static_cast<int>(expected.x.size());
  if (view.points != n) __builtin_trap();
  for (int i = 0; i < n; ++i)
    if (w.XDATA.at(i) != expected.x[i] || w.YDATA.at(i) != expected.y[i]) __builtin_trap();
  // Points beyond the new last one keep what the earlier spectrum left.
  if (!known_from(n)) __builtin_trap();
  if (w.DATAXMIN != w.XMIN || w.DATAXMAX != w.XMAX || w.DATAYMIN != w.YMIN || w.DATAYMAX != w.YMAX)
    __builtin_trap();
  if (w.XMIN > 10000 || w.XMAX < 0 || w.YMIN > 10000 || w.YMAX < 0) __builtin_trap();
  for (int i = 0; i < n; ++i)
    if (w.XDATA.at(i) < w.XMIN || w.XDATA.at(i) > w.XMAX || w.YDATA.at(i) < w.YMIN ||
        w.YDATA.at(i) > rt::to_single(w.YMAX))
      __builtin_trap();
  if (view.file != kPath || rt::get_text(app::EDIT(1)) != "spectrum.bgd") __builtin_trap();
  return 0;
}
