#pragma once
// Each fuzz input as a file that the program opens by path as it opens any other, held in
// memory: one memfd per process, rewritten for every input and reached through
// /proc/self/fd, so that no input costs a file system's create, truncate and delete.

#include <sys/mman.h>
#include <unistd.h>

#include <string>
#include <string_view>

#include "runtime/errors/runtime_error.h"
#include "runtime/files/file_channels.h"

namespace fuzz_support {

class MemoryFile {
 public:
  explicit MemoryFile(const char* name) : fd_(::memfd_create(name, MFD_CLOEXEC)) {
    if (fd_ < 0) __builtin_trap();
    path_ = "/proc/self/fd/" + std::to_string(fd_);
  }
  MemoryFile(const MemoryFile&) = delete;
  MemoryFile& operator=(const MemoryFile&) = delete;

  // Makes the file hold exactly these bytes; returns the path that opens it.
  const std::string& hold(std::string_view bytes) {
    if (::ftruncate(fd_, 0) != 0) __builtin_trap();
    std::size_t done = 0;
    while (done < bytes.size()) {
      const ssize_t n =
          ::pwrite(fd_, bytes.data() + done, bytes.size() - done, static_cast<off_t>(done));
      if (n <= 0) __builtin_trap();
      done += static_cast<std::size_t>(n);
    }
    return path_;
  }
  const std::string& path() const { return path_; }

 private:
  int fd_;
  std::string path_;
};

// Loads the bytes through `file` with `load`, and returns the number of the run-time error the
// load raised (0 for none). A load never leaves a file open.
inline int load_from_memory(MemoryFile& file, std::string_view bytes,
                            void (*load)(const std::string&)) {
  const std::string& path = file.hold(bytes);
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
