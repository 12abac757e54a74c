#pragma once
// The operating system's errors as the run-time error numbers of file operations.

#include <cstdint>
#include <source_location>

#include "runtime/errors/error_locations.h"

namespace rt {

// The kind of system call that failed: the same errno can mean a read fault or a write fault.
enum class OsCall { Open, Read, Write, Close };

int error_number_for_os_error(int os_error, OsCall call);

// Logs the system's own code as "APIERR", then raises the translated error.
[[noreturn]] void raise_os_error(int os_error, OsCall call, FileOp op, std::source_location where);

}  // namespace rt
