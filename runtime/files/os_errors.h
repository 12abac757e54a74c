#pragma once
// The operating system's errors as the run-time error numbers of file operations, and the
// location codes that name the file operation and the check that failed.

#include <cstdint>
#include <source_location>

namespace rt {

// The kind of system call that failed: the same errno can mean a read fault or a write fault.
enum class OsCall { Open, Read, Write, Close };

int error_number_for_os_error(int os_error, OsCall call);

// The file operations, the high part of a location code.
enum class FileOp : std::uint32_t {
  Open = 1,
  ReadBytes,
  WriteLine,
  ReadText,
  ReadNumber,
  EndOfFile,
  Close,
  FullPath,
  Replace,
};

// The checks within them, the low 8 bits.
enum class FileCheck : std::uint32_t {
  BadNumber = 1,
  NotOpen,
  AlreadyOpen,
  WrongMode,
  BadName,
  OsError,
  PastEnd,
  NotANumber,
  TooLong,
};

constexpr std::uint32_t file_location(FileOp op, FileCheck check) {
  return (0x0F00u + static_cast<std::uint32_t>(op)) << 8 | static_cast<std::uint32_t>(check);
}

// Logs the system's own code as "APIERR", then raises the translated error.
[[noreturn]] void raise_os_error(int os_error, OsCall call, FileOp op,
                                 std::source_location where);

}  // namespace rt
