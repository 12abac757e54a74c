#pragma once
// Backgrounds under a spectrum, computed from its points alone: pure functions, so that any
// command or batch run gets the same numbers from the same points. The points may come in any
// order; each result is in the order of the points given.

#include <cstddef>
#include <optional>
#include <vector>

namespace app {

// The background's levels at the two ends of the spectrum: the mean y of the `end_points`
// points of lowest x, and of the `end_points` points of highest x (all points when there are
// fewer).
struct EndLevels {
  double low = 0, high = 0;
};
EndLevels end_levels(const std::vector<double>& x, const std::vector<double>& y, int end_points);

// Where the levels are averaged: `points` points at each end, after skipping `low_offset`
// points inward from the lowest x and `high_offset` from the highest (a spike or a shutter
// edge at the window's border stays out of the level). With both offsets 0 and fewer points
// than asked for, all points are averaged, as end_levels() does.
struct EndSpec {
  int points = 5;
  int low_offset = 0, high_offset = 0;
};

// The levels and the points they were averaged over (indices into x, lowest x first at the low
// end, highest x first at the high end).
struct EndAverages {
  EndLevels levels;
  std::vector<std::size_t> low_points, high_points;
};
// Empty when an offset leaves fewer than `points` points at its end.
std::optional<EndAverages> end_averages(const std::vector<double>& x, const std::vector<double>& y,
                                        const EndSpec& ends);

// The straight line from (lowest x, low level) to (highest x, high level), at each point.
std::vector<double> linear_background(const std::vector<double>& x, const std::vector<double>& y,
                                      int end_points);
// The same between levels already averaged.
std::vector<double> linear_background(const std::vector<double>& x, EndLevels levels);

// The iterative Shirley background: B(x) = low + (high - low) * A(x) / A_total, where A(x) is the
// area of y - B (trapezoids over x) from the lowest x up to x. It starts from B = low
// everywhere and repeats until the largest change of B is below 1e-6 of the largest net value
// y - B (of the data's range, greatest y less least, where no net value is above 0), at most
// kShirleyIterations times; a background whose last change at the limit is below 1e-6 of the
// data's range has converged too. A spectrum without net area at the start (A_total 0) keeps
// B = low. The same formula serves rising and falling x scales: only the order of x matters,
// not the file order.
//
// On a window whose data dip below the end levels the net area can shrink towards 0 or change
// sign, and then the iteration swings instead of settling: it has not converged, and its last
// iterate is no background at all.
inline constexpr int kShirleyIterations = 50;
struct ShirleyBackground {
  std::vector<double> values;  // in the order of the points given
  bool converged = false;
  int iterations = 0;
};
ShirleyBackground shirley_iterated(const std::vector<double>& x, const std::vector<double>& y,
                                   int end_points);
// The same between levels already averaged.
ShirleyBackground shirley_iterated(const std::vector<double>& x, const std::vector<double>& y,
                                   EndLevels levels);

// Its values, converged or not.
std::vector<double> shirley_background(const std::vector<double>& x, const std::vector<double>& y,
                                       int end_points);

}  // namespace app
