#include "app/fit/solver_module.h"

#include <dlfcn.h>

#include <filesystem>
#include <system_error>

namespace app {
namespace {

// Where the module lies from the program's own folder: bin/ and lib/tessaly/ once installed,
// platform/ (tests/, bench/) and lib/tessaly/ in the build tree.
constexpr char kModuleFolder[] = "../lib/tessaly";

}  // namespace

LoadedSolver load_solver_module(const std::string& file) {
  LoadedSolver loaded;
  // An absolute path: a relative one would be looked for in the working folder. When the
  // program's folder has none, the library search path may (a test program's run path, a
  // distribution's own library folder).
  std::string where = file;
  std::string folder = "the program's folder";
  std::error_code error;
  const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
  if (!error) {
    const std::filesystem::path beside = program.parent_path() / kModuleFolder;
    folder = beside.lexically_normal().string();
    if (std::filesystem::exists(beside / file, error)) where = (beside / file).string();
  }
  // Never closed: the solver's libraries keep state of their own until the process ends.
  void* handle = ::dlopen(where.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (handle == nullptr) {
    const char* why = ::dlerror();
    loaded.error = where != file
                       ? std::string(why != nullptr ? why : where)
                       : file + " is neither in " + folder + " nor on the library search path";
    return loaded;
  }
  void* entry = ::dlsym(handle, kSolveEntryName);
  if (entry == nullptr) {
    loaded.error = where + " has no " + kSolveEntryName + " (a module of another build)";
    return loaded;
  }
  loaded.solve = reinterpret_cast<SolveEntry>(entry);
  return loaded;
}

const LoadedSolver& solver_module() {
  // A process-wide resource rather than program state: every session and batch worker shares
  // the one loaded module, and the initialisation is thread-safe.
  static const LoadedSolver loaded = load_solver_module(kSolverModuleFile);
  return loaded;
}

}  // namespace app
