#include "runtime/files/whole_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>

#include "runtime/errors/runtime_error.h"
#include "runtime/files/file_channels.h"
#include "runtime/files/os_errors.h"

namespace rt {
namespace {

// Closes the descriptor on every way out, a raised error included.
struct Descriptor {
  int fd;
  ~Descriptor() { ::close(fd); }
};

}  // namespace

std::optional<std::string> read_whole_file(std::string_view name, std::size_t max_bytes,
                                           std::source_location where) {
  // A zero byte would cut the name short in the system call and open another file.
  if (name.empty() || name.find('\0') != std::string_view::npos)
    raise_error(kBadFileName, file_location(FileOp::Open, FileCheck::BadName), where);
  if (const std::string* held = held_memory_file(name)) {
    if (held->size() > max_bytes) return std::nullopt;
    return *held;
  }
  std::error_code ec;
  const std::filesystem::path path = std::filesystem::absolute(std::filesystem::path(name), ec);
  if (ec) raise_os_error(ec.value(), OsCall::Open, FileOp::Open, where);
  int fd;
  do {
    // Non-blocking only while opening, so that a FIFO cannot hang the program in open().
    fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
  } while (fd < 0 && errno == EINTR);
  if (fd < 0) raise_os_error(errno, OsCall::Open, FileOp::Open, where);
  const Descriptor guard{fd};
  struct stat st {};
  if (::fstat(fd, &st) != 0) raise_os_error(errno, OsCall::Open, FileOp::Open, where);
  if (S_ISDIR(st.st_mode)) raise_os_error(EISDIR, OsCall::Open, FileOp::Open, where);
  // Only a regular file has contents to read; a device or FIFO reads as empty, not forever.
  if (!S_ISREG(st.st_mode)) return std::string();

  // Read up to one byte beyond the limit: that byte tells a file of exactly the limit from a
  // longer one without trusting a size that may change while we read.
  std::string bytes;
  char buffer[65536];
  for (;;) {
    const ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) raise_os_error(errno, OsCall::Read, FileOp::ReadBytes, where);
    if (n == 0) break;
    bytes.append(buffer, static_cast<std::size_t>(n));
    if (bytes.size() > max_bytes) return std::nullopt;
  }
  return bytes;
}

}  // namespace rt
