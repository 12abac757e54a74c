#include "app/files/background.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <numeric>

namespace app {
namespace {

// Indices of the points by rising x; equal x keep their order.
std::vector<std::size_t> by_rising_x(const std::vector<double>& x) {
  std::vector<std::size_t> order(x.size());
  std::iota(order.begin(), order.end(), std::size_t{0});
  std::stable_sort(order.begin(), order.end(),
                   [&](std::size_t a, std::size_t b) { return x[a] < x[b]; });
  return order;
}

EndLevels levels_in_order(const std::vector<double>& y, const std::vector<std::size_t>& order,
                          int end_points) {
  const std::size_t n = order.size();
  const std::size_t k = std::min(n, static_cast<std::size_t>(std::max(end_points, 1)));
  EndLevels e;
  if (k == 0) return e;
  for (std::size_t i = 0; i < k; ++i) {
    e.low += y[order[i]];
    e.high += y[order[n - 1 - i]];
  }
  e.low /= static_cast<double>(k);
  e.high /= static_cast<double>(k);
  return e;
}

}  // namespace

EndLevels end_levels(const std::vector<double>& x, const std::vector<double>& y, int end_points) {
  return levels_in_order(y, by_rising_x(x), end_points);
}

std::optional<EndAverages> end_averages(const std::vector<double>& x, const std::vector<double>& y,
                                        const EndSpec& ends) {
  const auto order = by_rising_x(x);
  const std::size_t n = order.size();
  const auto points = static_cast<std::size_t>(std::max(ends.points, 1));
  const auto low_offset = static_cast<std::size_t>(std::max(ends.low_offset, 0));
  const auto high_offset = static_cast<std::size_t>(std::max(ends.high_offset, 0));
  EndAverages a;
  if (low_offset == 0 && high_offset == 0) {
    const std::size_t k = std::min(n, points);
    for (std::size_t i = 0; i < k; ++i) {
      a.low_points.push_back(order[i]);
      a.high_points.push_back(order[n - 1 - i]);
    }
  } else {
    if (low_offset + points > n || high_offset + points > n) return std::nullopt;
    for (std::size_t i = 0; i < points; ++i) {
      a.low_points.push_back(order[low_offset + i]);
      a.high_points.push_back(order[n - 1 - high_offset - i]);
    }
  }
  if (a.low_points.empty()) return a;
  for (std::size_t i : a.low_points) a.levels.low += y[i];
  for (std::size_t i : a.high_points) a.levels.high += y[i];
  a.levels.low /= static_cast<double>(a.low_points.size());
  a.levels.high /= static_cast<double>(a.high_points.size());
  return a;
}

std::vector<double> linear_background(const std::vector<double>& x, const std::vector<double>& y,
                                      int end_points) {
  return linear_background(x, levels_in_order(y, by_rising_x(x), end_points));
}

std::vector<double> linear_background(const std::vector<double>& x, EndLevels e) {
  const auto order = by_rising_x(x);
  std::vector<double> b(x.size(), e.low);
  if (x.empty()) return b;
  const double lo = x[order.front()], hi = x[order.back()];
  if (!(hi > lo)) return b;  // one x only: no slope to draw
  for (std::size_t i = 0; i < x.size(); ++i)
    b[i] = e.low + (e.high - e.low) * (x[i] - lo) / (hi - lo);
  return b;
}

ShirleyBackground shirley_iterated(const std::vector<double>& x, const std::vector<double>& y,
                                   int end_points) {
  return shirley_iterated(x, y, levels_in_order(y, by_rising_x(x), end_points));
}

ShirleyBackground shirley_iterated(const std::vector<double>& x, const std::vector<double>& y,
                                   EndLevels e) {
  constexpr double kTolerance = 1e-6;
  const auto order = by_rising_x(x);
  const std::size_t n = order.size();

  // Worked on the points by rising x: xs, ys and the background b.
  std::vector<double> xs(n), ys(n), b(n, e.low), area(n, 0.0);
  double y_min = HUGE_VAL, y_max = -HUGE_VAL;
  for (std::size_t i = 0; i < n; ++i) {
    xs[i] = x[order[i]];
    ys[i] = y[order[i]];
    y_min = std::min(y_min, ys[i]);
    y_max = std::max(y_max, ys[i]);
  }
  const double range = n > 0 ? y_max - y_min : 0.0;
  ShirleyBackground result;
  result.converged = n <= 1;
  double last_change = HUGE_VAL;
  for (int iteration = 0; iteration < kShirleyIterations && n > 1; ++iteration) {
    result.iterations = iteration + 1;
    for (std::size_t i = 1; i < n; ++i) {
      const double net_before = ys[i - 1] - b[i - 1], net = ys[i] - b[i];
      area[i] = area[i - 1] + (net_before + net) / 2 * (xs[i] - xs[i - 1]);
    }
    const double total = area[n - 1];
    if (total == 0 && iteration == 0) {
      // Nothing above the low level to distribute: B = low is the answer.
      result.converged = true;
      break;
    }
    if (total == 0 || !std::isfinite(total)) break;
    double change = 0, largest_net = -HUGE_VAL;
    for (std::size_t i = 0; i < n; ++i) {
      const double next = e.low + (e.high - e.low) * area[i] / total;
      change = std::max(change, std::fabs(next - b[i]));
      b[i] = next;
      largest_net = std::max(largest_net, ys[i] - b[i]);
    }
    if (!std::isfinite(change)) break;
    last_change = change;
    // Settled against the largest net value, or against the data's range where nothing
    // stands above the background (a window that dips below its ends).
    const double settled = kTolerance * (largest_net > 0 ? largest_net : range);
    if (change == 0 || change < settled) {
      result.converged = true;
      break;
    }
  }
  // At the limit, a background whose last step moved it by less than 1e-6 of the data's range
  // has settled too, though not to the stricter measure of its own net values.
  if (!result.converged && result.iterations == kShirleyIterations &&
      last_change < kTolerance * range)
    result.converged = true;

  result.values.resize(n);
  for (std::size_t i = 0; i < n; ++i) result.values[order[i]] = b[i];
  return result;
}

std::vector<double> shirley_background(const std::vector<double>& x, const std::vector<double>& y,
                                       int end_points) {
  return shirley_iterated(x, y, end_points).values;
}

}  // namespace app
