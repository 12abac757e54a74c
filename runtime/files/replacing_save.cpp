#include "runtime/files/replacing_save.h"

#include <fcntl.h>
#include <limits.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <random>

#include "runtime/convert/integer_text.h"
#include "runtime/errors/runtime_error.h"
#include "runtime/files/os_errors.h"
#include "runtime/state/runtime_state.h"

namespace rt {
namespace {

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
std::string temporary_name(const std::string& folder, const char* extension = ".tmp") {
  // Each program draws from its own generator: programs on other threads draw at once.
  RuntimeState* program = current_state();
  std::uint64_t bits = 0;
  if (program) {
    std::unique_ptr<std::mt19937_64>& random = program->temporary_names;
    if (!random) random = std::make_unique<std::mt19937_64>(std::random_device{}());
    bits = (*random)();
  } else {
    bits = std::mt19937_64{std::random_device{}()}();
  }
  std::string name = ".tessaly-" + decimal_text(::getpid()) + "-";
  for (int digit = 0; digit < 12; ++digit, bits >>= 4) name += "0123456789abcdef"[bits & 15];
  return (folder == "/" ? "" : folder) + "/" + name + extension;
}

std::string temporary_folder() {
  const char* tmpdir = std::getenv("TMPDIR");
  if (tmpdir && tmpdir[0] == '/') return tmpdir;
  return "/tmp";
}

int create_exclusive(const std::string& path, mode_t mode = 0666) {
  return open_retrying(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOCTTY, mode);
}

bool read_all(int fd, std::string& out) {
  out.clear();
  char buffer[65536];
  for (off_t at = 0;;) {
    const ssize_t n = ::pread(fd, buffer, sizeof buffer, at);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return false;
    if (n == 0) return true;
    out.append(buffer, static_cast<std::size_t>(n));
    at += n;
  }
}

bool read_whole(const std::string& path, std::string& out) {
  const int fd = open_retrying(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  const bool read = read_all(fd, out);
  const int error = errno;
  ::close(fd);
  errno = error;
  return read;
}

bool write_all(int fd, const std::string& bytes) {
  for (std::size_t at = 0; at < bytes.size();) {
    const ssize_t n = ::pwrite(fd, bytes.data() + at, bytes.size() - at, static_cast<off_t>(at));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      if (n == 0) errno = ENOSPC;
      return false;
    }
    at += static_cast<std::size_t>(n);
  }
  return true;
}

constexpr const char* kOldFileIntact = "The old file is intact.";

void add_detail(RuntimeError& error, const std::string& text) {
  error.set_detail(error.detail().empty() ? text : error.detail() + " " + text);
}

// Nothing has been written when the target cannot be opened or no temporary file made.
[[noreturn]] void fail_open(int os_error, int create_error, bool old_exists,
                            const std::source_location& where) {
  try {
    if (create_error == 0) raise_os_error(os_error, OsCall::Open, FileOp::Replace, where);
    record_api_error(os_error);
    raise_error(create_error, file_location(FileOp::Replace, FileCheck::OsError), where);
  } catch (RuntimeError& error) {
    if (old_exists) add_detail(error, kOldFileIntact);
    throw;
  }
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
    if (fd < 0) fail_open(errno, create_error, S_ISREG(st.st_mode), where);
    ::close(fd);
    if (!S_ISREG(st.st_mode)) {
      path_ = target_;
      return;
    }
    old_exists_ = true;
    // A link stays a link: the file it leads to is the one replaced.
    if (char* real = ::realpath(target_.c_str(), nullptr)) {
      target_ = real;
      ::free(real);
    }
  }

  const std::string folder = folder_of(target_);
  for (int attempt = 0;; ++attempt) {
    std::string candidate = temporary_name(folder);
    const int fd = create_exclusive(candidate);
    if (fd < 0) {
      if (errno == EEXIST && attempt < 100) continue;
      // A folder that takes no new files but holds a writable target: the data is staged
      // elsewhere and copied over the target on commit, rather than not saved at all.
      if (exists && (errno == EACCES || errno == EPERM)) {
        const int folder_error = errno;
        if (stage_elsewhere()) return;
        fail_open(folder_error, create_error, true, where);
      }
      fail_open(errno, create_error, exists, where);
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

bool ReplacingSave::stage_elsewhere() {
  for (int attempt = 0; attempt < 100; ++attempt) {
    std::string candidate = temporary_name(temporary_folder());
    const int fd = create_exclusive(candidate, 0600);
    if (fd < 0) {
      if (errno == EEXIST) continue;
      return false;
    }
    ::close(fd);
    path_ = std::move(candidate);
    temporary_ = staged_ = true;
    return true;
  }
  return false;
}

ReplacingSave::~ReplacingSave() { remove_temporary(); }

void ReplacingSave::remove_temporary() {
  if (temporary_) ::unlink(path_.c_str());
  temporary_ = false;
}

void ReplacingSave::abandon(RuntimeError& error) {
  const bool touched = temporary_ || path_ != target_;
  remove_temporary();
  // Until the commit only the temporary file was written.
  if (old_exists_ && touched) add_detail(error, kOldFileIntact);
}

void ReplacingSave::fail_commit(int os_error, bool intact, const std::source_location& where) {
  remove_temporary();
  try {
    raise_os_error(os_error, OsCall::Write, FileOp::Replace, where);
  } catch (RuntimeError& error) {
    if (intact) {
      if (old_exists_) add_detail(error, kOldFileIntact);
    } else {
      add_detail(error,
                 "The old file could not be written back; its content is kept in " + backup_ + ".");
    }
    throw;
  }
}

void ReplacingSave::commit(std::source_location where) {
  if (!temporary_) return;
  // Data that never reaches the disk must not replace data that did.
  const int fd = open_retrying(path_.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) fail_commit(errno, true, where);
  if (::fsync(fd) != 0 && errno != EINVAL) {
    const int error = errno;
    ::close(fd);
    fail_commit(error, true, where);
  }
  ::close(fd);
  if (staged_) {
    commit_staged(where);
    return;
  }
  if (::rename(path_.c_str(), target_.c_str()) != 0) fail_commit(errno, true, where);
  temporary_ = false;
  // The rename itself survives a crash once the folder is on the disk; a folder that cannot be
  // synced does not undo a save that has happened.
  const int dir = open_retrying(folder_of(target_).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dir >= 0) {
    ::fsync(dir);
    ::close(dir);
  }
}

// The target is written in place, so every step that can fail for want of room or permission
// comes before its first byte changes: reading both files, keeping the old one's copy, and
// reserving the room the new content needs.
void ReplacingSave::commit_staged(const std::source_location& where) {
  std::string fresh, old;
  if (!read_whole(path_, fresh)) fail_commit(errno, true, where);
  const int fd = open_retrying(target_.c_str(), O_RDWR | O_CLOEXEC | O_NOCTTY);
  if (fd < 0) fail_commit(errno, true, where);
  const auto fail = [&](int error, bool intact) {
    ::close(fd);
    fail_commit(error, intact, where);
  };
  if (!read_all(fd, old)) fail(errno, true);

  for (int attempt = 0; backup_.empty() && attempt < 100; ++attempt) {
    std::string candidate = temporary_name(temporary_folder(), ".old");
    const int copy = create_exclusive(candidate, 0600);
    if (copy < 0 && errno == EEXIST) continue;
    if (copy < 0) fail(errno, true);
    const bool written = write_all(copy, old) && (::fsync(copy) == 0 || errno == EINVAL);
    const int error = errno;
    ::close(copy);
    if (!written) {
      ::unlink(candidate.c_str());
      fail(error, true);
    }
    backup_ = std::move(candidate);
  }
  if (fresh.size() > old.size()) {
    // Room reserved beyond the old end without changing the file; a file system that cannot
    // reserve it is written all the same.
    const off_t size = static_cast<off_t>(fresh.size());
    if (::fallocate(fd, FALLOC_FL_KEEP_SIZE, 0, size) != 0 && errno != EOPNOTSUPP &&
        errno != ENOSYS && errno != EINVAL) {
      const int error = errno;
      ::unlink(backup_.c_str());
      fail(error, true);
    }
  }
  const auto put = [fd](const std::string& bytes) {
    return write_all(fd, bytes) && ::ftruncate(fd, static_cast<off_t>(bytes.size())) == 0 &&
           (::fsync(fd) == 0 || errno == EINVAL);
  };
  if (!put(fresh)) {
    const int error = errno;
    const bool restored = put(old);
    if (restored) ::unlink(backup_.c_str());
    fail(error, restored);
  }
  ::close(fd);
  ::unlink(backup_.c_str());
  remove_temporary();
}

}  // namespace rt
