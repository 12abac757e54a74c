#pragma once
// A run-time error: the one way any procedure of the program fails. It unwinds to the
// event dispatcher, which reports and logs it and goes on with the next event.

#include <cstdint>
#include <exception>
#include <source_location>
#include <string>

namespace rt {

// The user-visible error numbers.
enum ErrorNumber : int {
  kInvalidArgument = 5,
  kOverflow = 6,
  kOutOfMemory = 7,
  kSubscriptOutOfRange = 9,
  kDivisionByZero = 11,
  kWrongStringKind = 13,
  kStringTooLong = 15,
  kDeviceFailed = 27,
  kNotSupported = 28,
  kBadFileNumber = 50,
  kBadFileMode = 51,
  kFileAlreadyOpen = 52,
  kReadPastEnd = 54,
  kBadFileName = 55,
  kCannotCreateFile = 57,
  kBadNumericField = 58,
  kDriveLocked = 59,
  kDeviceUnavailable = 60,
  kBufferOverflow = 61,
  kFileNotFound = 63,
  kFileExists = 64,
  kTooManyFiles = 66,
  kDiskFull = 67,
  kBadFormat = 71,
  kBadDrive = 72,
  kWriteProtected = 73,
  kAccessDenied = 75,
  kNoSuchObject = 1000,
  kReferenceBound = 1001,
  kWrongObjectKind = 1002,
  kNoReference = 1003,
  kObjectTableFull = 1004,
  kNoWindow = 1005,
  kWrongDrawingState = 1006,
  kNoSuchControl = 1013,
  kBadFormDefinition = 1014,
};

class RuntimeError : public std::exception {
 public:
  RuntimeError(int number, std::uint32_t location, std::string module, unsigned line);

  int number() const { return number_; }
  // High part: the run-time operation; low 8 bits: the check within it.
  std::uint32_t location() const { return location_; }
  const std::string& module() const { return module_; }
  unsigned line() const { return line_; }
  // What exactly was wrong, in the user's terms (which file, which line, which value); empty
  // for the errors whose number says it all.
  const std::string& detail() const { return detail_; }
  void set_detail(std::string detail);
  const char* what() const noexcept override { return what_.c_str(); }

 private:
  int number_;
  std::uint32_t location_;
  std::string module_;
  unsigned line_;
  std::string detail_;
  std::string what_;
};

// Raises error `number`. `where` names the application statement that failed: run-time entry
// points that can raise take a `std::source_location` default argument and pass it on here.
[[noreturn]] void raise_error(int number, std::uint32_t location = 0,
                              std::source_location where = std::source_location::current());

// The same with the detail that the report shows under the error's message.
[[noreturn]] void raise_error_with_detail(int number, std::string detail, std::uint32_t location = 0,
                                          std::source_location where = std::source_location::current());

// Records the operating system's own error code as "APIERR" in the error log; called just
// before the translated run-time error is raised.
void record_api_error(int os_error);

// The module name that a report shows for a source location: its file name without folders.
std::string module_name(const std::source_location& where);

}  // namespace rt
