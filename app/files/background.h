#pragma once
// Backgrounds under a spectrum, computed from its points alone: pure functions, so that any
// command or batch run gets the same numbers from the same points. The points may come in any
// order; each result is in the order of the points given.

#include <vector>

namespace app {

// The background's levels at the two ends of the spectrum: the mean y of the `end_points`
// points of lowest x, and of the `end_points` points of highest x (all points when there are
// fewer).
struct EndLevels {
  double low = 0, high = 0;
};
EndLevels end_levels(const std::vector<double>& x, const std::vector<double>& y, int end_points);

// The straight line from (lowest x, low level) to (highest x, high level), at each point.
std::vector<double> linear_background(const std::vector<double>& x, const std::vector<double>& y,
                                      int end_points);

// The iterative Shirley background: B(x) = low + (high - low) * A(x) / A_total, where A(x) is the
// area of y - B (trapezoids over x) from the lowest x up to x. It starts from B = low
// everywhere and repeats until the largest change of B is below 1e-6 of the largest net value
// y - B, at most 50 times. Without net area (A_total 0) it keeps the last B. The same formula
// serves rising and falling x scales: only the order of x matters, not the file order.
std::vector<double> shirley_background(const std::vector<double>& x, const std::vector<double>& y,
                                       int end_points);

}  // namespace app
