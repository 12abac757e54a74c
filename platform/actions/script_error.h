#pragma once

#include <stdexcept>
#include <string>

namespace actions {

// A script that cannot go on: an unknown command or control, a dialog without an answer, an
// unreadable script. It ends the run with exit status 2.
class ScriptError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

}  // namespace actions
