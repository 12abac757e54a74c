#pragma once
// What the program and its least-squares solver module share. The solver (Ceres Solver with the
// sparse and dense algebra libraries it brings) lives in a module of its own, loaded when Refine
// first runs, so that every other start of the program skips loading those libraries. Only the
// types below cross between the two: the module reaches the model through SolveProblem's
// virtual functions alone and so needs none of the program's symbols.

#include <cstddef>
#include <string>
#include <vector>

namespace app {

struct SolveLimits {
  int max_iterations = 200;
  double max_seconds = 3;
};

struct SolveOutcome {
  enum class Status {
    Converged,       // a minimum within the tolerances
    IterationLimit,  // stopped by the limits; the values are the best found
    Failed,          // the solver gave up; the values are not to be used
    Aborted,         // `between_iterations` asked to stop
    Unavailable,     // the solver module could not be loaded; `message` says why
  };
  Status status = Status::Failed;
  std::vector<double> values;  // the free values at the end
  std::string message;         // the solver's own account of why it stopped
  int iterations = 0;
};

// The residuals to minimise, their slopes, and the word between iterations.
class SolveProblem {
 public:
  virtual std::size_t residual_count() const = 0;
  virtual int value_count() const = 0;
  // Fills residuals[residual_count()] and, unless null, the slopes row by row (one row of
  // value_count() per residual). False when a residual is not finite.
  virtual bool evaluate(const double* values, double* residuals, double* jacobian) const = 0;
  // Runs after every iteration; false stops the solve.
  virtual bool go_on() = 0;

 protected:
  ~SolveProblem() = default;
};

// The module's entry point. `outcome.values` holds the start (inside [lower, upper]) and leaves
// with the end.
using SolveEntry = void (*)(SolveProblem& problem, const std::vector<double>& lower,
                            const std::vector<double>& upper, const SolveLimits& limits,
                            SolveOutcome& outcome);

// In lib/tessaly/, beside the folder of the program (bin/ once installed).
inline constexpr char kSolverModuleFile[] = "libtessaly_solver.so";
// Renamed whenever the types above change, so that a module of another build is refused by
// name instead of misread.
inline constexpr char kSolveEntryName[] = "tessaly_solve_least_squares_1";

}  // namespace app
