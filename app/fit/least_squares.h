#pragma once
// The bounded nonlinear least-squares solve of a peak model, by Ceres Solver (the only file
// that includes it, so its templates are compiled once).

#include <functional>
#include <string>
#include <vector>

#include "app/model/peak_model.h"

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
  };
  Status status = Status::Failed;
  std::vector<double> values;  // the free values at the end
  std::string message;         // the solver's own account of why it stopped
  int iterations = 0;
};

// Minimises model.rss() over the free values from `start` (inside the bounds) within
// [lower, upper]. `between_iterations` runs after every iteration; returning false stops the
// solve (Aborted).
SolveOutcome solve_least_squares(const PeakModel& model, const std::vector<double>& start,
                                 const std::vector<double>& lower, const std::vector<double>& upper,
                                 const SolveLimits& limits,
                                 const std::function<bool()>& between_iterations);

}  // namespace app
