#pragma once
// Each fuzz input as a file that the program opens by name as it opens any other, held in
// memory by the file channels, so that no input costs a file system's create, write and
// delete.

#include <string>
#include <string_view>

#include "runtime/errors/runtime_error.h"
#include "runtime/files/file_channels.h"

namespace fuzz_support {

// Loads the bytes as the file `name` with `load`, and returns the number of the run-time error
// the load raised (0 for none). A load never leaves a file open.
inline int load_from_memory(const std::string& name, std::string_view bytes,
                            void (*load)(const std::string&)) {
  rt::hold_memory_file(name, std::string(bytes));
  int error = 0;
  try {
    load(name);
  } catch (const rt::RuntimeError& e) {
    error = e.number();
  }
  if (!rt::open_file_numbers().empty()) __builtin_trap();
  return error;
}

}  // namespace fuzz_support
