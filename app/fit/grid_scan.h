#pragma once
// The one-dimensional grid search of the sweep: trials from a start to a limit by repeated
// single-precision addition of the step, the best figure kept, ties won by the later trial.

#include <functional>

namespace app {

// Error 6 when the grid would never pass its limit: somewhere between start and limit adding
// the step no longer changes the trial (a value far too large for the step).
void refuse_endless_grid(float start, float limit, float step);

// Runs the grid; `figure_of(t)` writes trial t into its field and returns the fit figure for
// it. Returns the best trial: the one with the smallest figure, the last of equal ones.
float grid_scan(float start, float limit, float step, const std::function<float(float)>& figure_of);

}  // namespace app
