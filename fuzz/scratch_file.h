#pragma once
// A file that holds each fuzz input, for targets that load what the program loads from disk:
// in memory-backed /dev/shm where there is one, so that the disk does not slow the runs.

#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <string>
#include <string_view>

#include "runtime/errors/runtime_error.h"
#include "runtime/files/file_channels.h"

namespace fuzz_support {

// This process's scratch file of that name.
inline std::string scratch_path(const char* name) {
  static const std::string folder = [] {
    if (::access("/dev/shm", W_OK) == 0) return std::string("/dev/shm");
    const char* tmp = std::getenv("TMPDIR");
    return std::string(tmp ? tmp : "/tmp");
  }();
  return folder + "/tessaly-fuzz-" + std::to_string(::getpid()) + "-" + name;
}

// Writes the bytes to the scratch file of that name and returns its path.
inline std::string write_scratch_file(const char* name, std::string_view bytes) {
  const std::string path = scratch_path(name);
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out) std::abort();
  return path;
}

// Loads the bytes through a scratch file of that name with `load`, and returns the number of
// the run-time error the load raised (0 for none). A load never leaves a file open.
inline int load_scratch_file(const char* name, std::string_view bytes,
                             void (*load)(const std::string&)) {
  const std::string path = write_scratch_file(name, bytes);
  int error = 0;
  try {
    load(path);
  } catch (const rt::RuntimeError& e) {
    error = e.number();
  }
  if (!rt::open_file_numbers().empty()) __builtin_trap();
  return error;
}

}  // namespace fuzz_support
