#pragma once
// Saving so that a failure never leaves a truncated file in place of a good one: the data goes
// to a new file in the target's folder, which is renamed over the target only once complete.
// A failed save leaves any earlier file as it was and no temporary file behind.

#include <source_location>
#include <string>

namespace rt {

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

  // Where the data goes: the temporary file, or the target itself when that is a device or a
  // FIFO, which cannot be replaced by a rename, or when its folder takes no new files.
  const std::string& path() const { return path_; }

  // Flushes the written data to the disk and renames the file over the target, keeping the
  // target's permissions. A failure removes the temporary file and raises the write error of
  // the system's condition (67 for a full disk).
  void commit(std::source_location where = std::source_location::current());

 private:
  std::string target_;
  std::string path_;
  bool temporary_ = false;
};

}  // namespace rt
