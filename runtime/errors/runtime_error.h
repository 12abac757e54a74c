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

// The module every report names: the program is one unit, whatever C++ file a statement is in.
inline constexpr const char* kProgramModule = "MAIN.BAS";

class RuntimeError : public std::exception {
 public:
  // Raised at `where`. The report names the line of the program's statement there; when
  // `where` lies in the run-time or in a library header, the last statement the run-time saw.
  RuntimeError(int number, std::uint32_t location,
               std::source_location where = std::source_location::current());
  // Named at the last statement seen whatever `noticed_at` is: for a failure noticed away from
  // where it happened.
  struct AtLastStatement {};
  RuntimeError(AtLastStatement, int number, std::uint32_t location,
               std::source_location noticed_at);

  int number() const { return number_; }
  // High part: the run-time operation; low 8 bits: the check within it.
  std::uint32_t location() const { return location_; }
  const std::string& module() const { return module_; }
  unsigned line() const { return line_; }
  // For developers: the C++ file and line of that statement, and the place that raised the
  // error when that is elsewhere ("app/graph/drawgraph.cpp:31 < runtime/picture/raster.cpp:20").
  const std::string& source() const;
  // What exactly was wrong, in the user's terms (which file, which line, which value); empty
  // for the errors whose number says it all.
  const std::string& detail() const { return detail_; }
  void set_detail(std::string detail);
  const char* what() const noexcept override;

 private:
  // Most errors a loader raises are caught and dropped by a caller that tries something else,
  // so the texts only a report reads are made when first asked for, from the places kept here.
  void name_last_statement();

  int number_;
  std::uint32_t location_;
  std::string module_ = kProgramModule;
  unsigned line_ = 0;
  const char* statement_file_ = nullptr;  // null: no statement seen ("?")
  const char* raised_file_ = nullptr;     // null: raised at the statement itself
  unsigned statement_line_ = 0, raised_line_ = 0;
  std::string detail_;
  mutable std::string source_, what_;
  mutable bool sourced_ = false, described_ = false;
};

// Raises error `number`. `where` names the application statement that failed: run-time entry
// points that can raise take a `std::source_location` default argument and pass it on here.
[[noreturn]] void raise_error(int number, std::uint32_t location = 0,
                              std::source_location where = std::source_location::current());

// Error 7 for an allocation that failed inside a procedure, which reached the dispatcher as
// std::bad_alloc rather than as a run-time error: named at the last statement seen.
RuntimeError out_of_memory_error(std::source_location where = std::source_location::current());

// The same with the detail that the report shows under the error's message.
[[noreturn]] void raise_error_with_detail(
    int number, std::string detail, std::uint32_t location = 0,
    std::source_location where = std::source_location::current());

// Records the operating system's own error code as "APIERR" in the error log; called just
// before the translated run-time error is raised.
void record_api_error(int os_error);

}  // namespace rt
