#pragma once
// Each test process keeps its own error log under the configuration folder it was given: ctest
// runs the tests of one program side by side, and a test must not read what another just logged.

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace test_support {

inline const bool kPrivateConfigHome = [] {
  const char* given = std::getenv("XDG_CONFIG_HOME");
  std::filesystem::path home = given ? given : std::filesystem::temp_directory_path().string();
  home /= "process-" + std::to_string(::getpid());
  ::setenv("XDG_CONFIG_HOME", home.c_str(), 1);
  return true;
}();

}  // namespace test_support
