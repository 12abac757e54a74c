#pragma once
// Loading the least-squares solver module (see solver_interface.h).

#include <string>

#include "app/fit/solver_interface.h"

namespace app {

struct LoadedSolver {
  SolveEntry solve = nullptr;  // null when the module could not be loaded
  std::string error;           // why not
};

// Loads the module named `file` from lib/tessaly beside the program's folder, else from the
// library search path, and finds its entry point. It stays loaded until the process ends.
LoadedSolver load_solver_module(const std::string& file);

// The program's solver module, loaded once for the whole process on the first call (from any
// thread).
const LoadedSolver& solver_module();

}  // namespace app
