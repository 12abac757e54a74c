#pragma once
// The errors of raw spectrum loading: each names the file, the line where it can and what was
// wrong, so that the user can mend the file or the window without guessing.

#include <cstdint>
#include <source_location>
#include <string>
#include <string_view>

#include "app/workspace/error_locations.h"
#include "runtime/errors/runtime_error.h"

namespace app {

// The checks of raw loading, the low 8 bits of the error's location code.
enum class RawCheck : std::uint32_t {
  Setting = 1,  // a field of the "Raw spectrum" window
  FileTooLarge,
  LineTooLong,
  NotANumber,
  OneColumn,
  NoNumericRows,
  OutOfRange,  // a value beyond single precision
  NoSuchBlock,
  Unsupported,  // a VAMAS mode the reader does not handle
  Truncated,
  BadCount,
  EmptyWindow,
  TooManyPoints,
  BackgroundNotConverged,
  Undrawable,         // points whose extents give the graph no range to draw
  EndsTooShort,       // offsets and averaged points that need more points than the window has
  TougaardKernel,     // a kernel whose denominator reaches 0 over the window's losses
  TougaardNotFitted,  // no B puts the background on the high end
  KineticEnergy,      // an excitation energy that leaves binding energies below 0
};
constexpr Operation operation_of(RawCheck) { return Operation::RawLoading; }

// Run-time error `number` with the detail text, for a `throw` at the check: a loader's
// refusals are its common case (every damaged file), so they go up in one throw rather than
// through functions that never return.
rt::RuntimeError raw_error(int number, RawCheck check, std::string detail,
                           std::source_location where = std::source_location::current());

// "name line 12"
std::string line_place(const std::string& file_name, int line);

// A piece of a file's text fit for a message: in quotes, at most 40 characters, anything but
// printable ASCII shown as "?".
std::string quoted(std::string_view text);

// A value as fields show it ("285.5", "1.23457E+06").
std::string value_text(double v);

}  // namespace app
