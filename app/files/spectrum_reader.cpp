#include "app/files/spectrum_reader.h"

#include "app/workspace/error_locations.h"
#include "runtime/convert/arithmetic.h"
#include "runtime/errors/runtime_error.h"
#include "runtime/files/file_channels.h"
#include "runtime/forms/statement_pump.h"

namespace app {

LoadedSpectrum read_spectrum_records(int channel) {
  LoadedSpectrum s;
  while (!rt::end_of_file(channel)) {
    rt::count_statement();  // a long file still lets the windows repaint
    const float a = rt::to_single(rt::read_number_field(channel));
    const float b = rt::to_single(rt::read_number_field(channel));
    const float c = rt::to_single(rt::read_number_field(channel));
    if (!(c > 0)) continue;
    if (static_cast<std::int32_t>(s.x.size()) >= kMaxPoints)
      rt::raise_error(rt::kSubscriptOutOfRange, location(ArrayCheck::TooManyPoints));
    s.add(a, static_cast<double>(b) - c, b);
  }
  return s;
}

}  // namespace app
