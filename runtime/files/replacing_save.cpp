#include "runtime/files/replacing_save.h"

#include <fcntl.h>
#include <limits.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <random>

#include "runtime/convert/integer_text.h"
#include "runtime/errors/runtime_error.h"
#include "runtime/files/os_errors.h"

namespace rt {
namespace {

[[noreturn]] void fail_open(int os_error, int create_error, const std::source_location& where) {
  if (create_error == 0) raise_os_error(os_error, OsCall::Open, FileOp::Replace, where);
  record_api_error(os_error);
  raise_error(create_error, file_location(FileOp::Replace, FileCheck::OsError), where);
}

int open_retrying(const char* path, int flags, mode_t mode = 0) {
  int fd;
  do {
    fd = ::open(path, flags, mode);
  } while (fd < 0 && errno == EINTR);
  return fd;
}

std::string folder_of(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

// A short name of its own, so that a long target name cannot make the temporary's too long.
std::string temporary_name(const std::string& folder) {
  static std::mt19937_64 random{std::random_device{}()};
  std::string name = ".tessaly-" + decimal_text(::getpid()) + "-";
  std::uint64_t bits = random();
  for (int digit = 0; digit < 12; ++digit, bits >>= 4) name += "0123456789abcdef"[bits & 15];
  return (folder == "/" ? "" : folder) + "/" + name + ".tmp";
}

}  // namespace

ReplacingSave::ReplacingSave(std::string target, int create_error, std::source_location where)
    : target_(std::move(target)) {
  struct stat st {};
  const bool exists = ::stat(target_.c_str(), &st) == 0;
  if (exists) {
    // The same refusal that opening the target itself for writing would meet, without
    // emptying it: a folder, a read-only file, a FIFO nobody reads.
    const int fd = open_retrying(target_.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) fail_open(errno, create_error, where);
    ::close(fd);
    if (!S_ISREG(st.st_mode)) {
      path_ = target_;
      return;
    }
    // A link stays a link: the file it leads to is the one replaced.
    if (char* real = ::realpath(target_.c_str(), nullptr)) {
      target_ = real;
      ::free(real);
    }
  }

  const std::string folder = folder_of(target_);
  for (int attempt = 0;; ++attempt) {
    std::string candidate = temporary_name(folder);
    const int fd =
        open_retrying(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOCTTY, 0666);
    if (fd < 0) {
      if (errno == EEXIST && attempt < 100) continue;
      // A folder that takes no new files but holds a writable target: the target is written
      // in place, as it could be before, rather than not at all.
      if (exists && (errno == EACCES || errno == EPERM)) {
        path_ = target_;
        return;
      }
      fail_open(errno, create_error, where);
    }
    if (exists) {
      // Best effort: the new file keeps the old one's owner and permissions where the system
      // lets it; a refusal costs the save nothing.
      const bool owned = ::fchown(fd, st.st_uid, st.st_gid) == 0;
      const bool moded = ::fchmod(fd, st.st_mode & 07777) == 0;
      static_cast<void>(owned && moded);
    }
    ::close(fd);
    path_ = std::move(candidate);
    temporary_ = true;
    return;
  }
}

ReplacingSave::~ReplacingSave() {
  if (temporary_) ::unlink(path_.c_str());
}

void ReplacingSave::commit(std::source_location where) {
  if (!temporary_) return;
  const auto fail = [&](int os_error) {
    ::unlink(path_.c_str());
    temporary_ = false;
    raise_os_error(os_error, OsCall::Write, FileOp::Replace, where);
  };
  // Data that never reaches the disk must not replace data that did.
  const int fd = open_retrying(path_.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) fail(errno);
  if (::fsync(fd) != 0 && errno != EINVAL) {
    const int error = errno;
    ::close(fd);
    fail(error);
  }
  ::close(fd);
  if (::rename(path_.c_str(), target_.c_str()) != 0) fail(errno);
  temporary_ = false;
  // The rename itself survives a crash once the folder is on the disk; a folder that cannot be
  // synced does not undo a save that has happened.
  const int dir = open_retrying(folder_of(target_).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dir >= 0) {
    ::fsync(dir);
    ::close(dir);
  }
}

}  // namespace rt
