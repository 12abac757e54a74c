#pragma once
// Saving so that a failure never leaves a truncated file in place of a good one: the data goes
// to a new file in the target's folder, which is renamed over the target only once complete.
// A failed save leaves any earlier file as it was and no temporary file behind.
// A folder that takes no new files but holds a writable target cannot take that new file: the
// data is then staged in the temporary folder ($TMPDIR, else /tmp) and copied over the target
// on commit, after a copy of the old file was written there; a failure part-way writes the old
// content back. Either way the error of a failed save says whether the old file is intact.

#include <source_location>
#include <string>

namespace rt {

class RuntimeError;

class ReplacingSave {
 public:
  // Checks that the target may be written (an existing one is opened for writing, unchanged)
  // and creates an empty temporary file beside it. A failure raises the open error of the
  // system's condition (63 for a missing folder, 75 for one not writable, 55 for a folder as
  // target), or `create_error` when that is not 0; the system's code is logged first.
  explicit ReplacingSave(std::string target, int create_error = 0,
                         std::source_location where = std::source_location::current());
  // Removes the temporary file unless the save was committed.
  ~ReplacingSave();
  ReplacingSave(const ReplacingSave&) = delete;
  ReplacingSave& operator=(const ReplacingSave&) = delete;

  // Where the data goes: the temporary file (beside the target, or staged elsewhere when its
  // folder takes no new files), or the target itself when that is a device or a FIFO, which
  // cannot be replaced by a rename.
  const std::string& path() const { return path_; }

  // Flushes the written data to the disk and renames the file over the target, keeping the
  // target's permissions. A failure removes the temporary file and raises the write error of
  // the system's condition (67 for a full disk).
  void commit(std::source_location where = std::source_location::current());

  // For a caller whose writing failed before the commit: removes the temporary file and adds
  // to the error's detail whether the old file is intact.
  void abandon(RuntimeError& error);

 private:
  [[noreturn]] void fail_commit(int os_error, bool intact, const std::source_location& where);
  void commit_staged(const std::source_location& where);
  bool stage_elsewhere();
  void remove_temporary();

  std::string target_;
  std::string path_;
  bool temporary_ = false;
  bool staged_ = false;      // path_ lies outside the target's folder: commit copies it
  bool old_exists_ = false;  // an earlier regular file at the target
  std::string backup_;       // the copy of the old file a staged commit kept
};

}  // namespace rt
