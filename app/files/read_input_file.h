#pragma once
// Reading a whole input file through file number 1 before anything of the program changes.

#include <string>

#include "runtime/errors/runtime_error.h"
#include "runtime/files/file_channels.h"

namespace app {

// Opens `path` for input as file number 1, returns what `read` makes of it, and closes the
// file also when reading fails (the error then goes on to the caller).
template <class Read>
auto read_input_file(const std::string& path, Read&& read) {
  rt::open_file(path, rt::OpenMode::Input, 1);
  // Closed on the way out of a failed read without catching its error and throwing it again
  // (a refused file is a loader's common case); a close that fails then adds nothing to it.
  struct CloseOnFailure {
    bool reading = true;
    ~CloseOnFailure() {
      if (!reading) return;
      try {
        rt::close_file(1);
      } catch (const rt::RuntimeError&) {
      }
    }
  } guard;
  auto result = read(1);
  guard.reading = false;
  rt::close_file(1);
  return result;
}

}  // namespace app
