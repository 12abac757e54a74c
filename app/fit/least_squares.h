#pragma once
// The bounded nonlinear least-squares solve of a peak model, by the solver module
// (app/fit/solver), loaded on the first solve.

#include <functional>
#include <vector>

#include "app/fit/solver_interface.h"
#include "app/model/peak_model.h"

namespace app {

// Minimises model.rss() over the free values from `start` (inside the bounds) within
// [lower, upper]. `between_iterations` runs after every iteration; returning false stops the
// solve (Aborted). A solver module that cannot be loaded gives Unavailable, with the reason.
SolveOutcome solve_least_squares(const PeakModel& model, const std::vector<double>& start,
                                 const std::vector<double>& lower, const std::vector<double>& upper,
                                 const SolveLimits& limits,
                                 const std::function<bool()>& between_iterations);

}  // namespace app
