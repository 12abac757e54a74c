#pragma once
// The error log: the last run-time error, kept as a small settings file in the user's
// configuration folder (there is no registry here), with the value names other installations use.

#include <map>
#include <string>

namespace rt {

class RuntimeError;

// Section under which the values are kept.
inline constexpr const char* kErrorLogSection = "Software\\Halvern\\Orvane V6.3\\RUNTIME\\ERROR";

// $XDG_CONFIG_HOME/tessaly/error-log.ini, else ~/.config/tessaly/error-log.ini.
std::string error_log_path();

void error_log_api_error(int os_error);
void error_log_write(const RuntimeError& error);

// The values as stored now (empty when there is no log); for tests and diagnostics.
std::map<std::string, std::string> error_log_read();

}  // namespace rt
