#include "tests/support/default_program.h"

#include <optional>

#include "app/shell/program.h"
#include "runtime/state/runtime_state.h"

namespace testing_support {
namespace {

struct DefaultProgram {
  std::optional<app::Program> program;
  std::optional<rt::CurrentState> current;

  void renew(rt::Platform* platform) {
    current.reset();
    program.reset();
    program.emplace(platform);
    current.emplace(program->runtime());
  }
};

DefaultProgram& default_program() {
  static DefaultProgram program;
  return program;
}

// The main thread has one before the first test.
const bool kMadeAtStart = (default_program().renew(nullptr), true);

}  // namespace

void renew_default_program(rt::Platform* platform) { default_program().renew(platform); }

}  // namespace testing_support
