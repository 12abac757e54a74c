#pragma once
// A file that holds each fuzz input, for targets that load what the program loads from disk:
// in memory-backed /dev/shm where there is one, so that the disk does not slow the runs.

#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <string>
#include <string_view>

namespace fuzz_support {

// Writes the bytes to this process's scratch file of that name and returns its path.
inline std::string write_scratch_file(const char* name, std::string_view bytes) {
  static const std::string folder = [] {
    if (::access("/dev/shm", W_OK) == 0) return std::string("/dev/shm");
    const char* tmp = std::getenv("TMPDIR");
    return std::string(tmp ? tmp : "/tmp");
  }();
  const std::string path = folder + "/tessaly-fuzz-" + std::to_string(::getpid()) + "-" + name;
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out) std::abort();
  return path;
}

}  // namespace fuzz_support
