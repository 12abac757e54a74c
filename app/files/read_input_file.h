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
  try {
    auto result = read(1);
    rt::close_file(1);
    return result;
  } catch (const rt::RuntimeError&) {
    rt::close_file(1);
    throw;
  }
}

}  // namespace app
