#include "app/files/tougaard_background.h"

#include <algorithm>
#include <cmath>
#include <numeric>
#include <tuple>
#include <utility>

#include "runtime/forms/statement_pump.h"

namespace app {

TougaardMatrix::TougaardMatrix(std::vector<double> rising_x, const TougaardKernel& kernel)
    : x_(std::move(rising_x)), kernel_(kernel) {
  const std::size_t n = x_.size();
  if (n > kTougaardKeptPoints) return;
  packed_.resize(n * (n - (n > 0 ? 1 : 0)) / 2);
  std::size_t at = 0;
  for (std::size_t i = 1; i < n; ++i)
    for (std::size_t j = 0; j < i; ++j) packed_[at++] = weight(i, j);
}

// Trapezoids over [x_0, x_i]: point j < i weighs half the spacing on each side of it (the
// end point x_i has loss 0, where the kernel is 0).
double TougaardMatrix::weight(std::size_t i, std::size_t j) const {
  const double w = (x_[j + 1] - x_[j > 0 ? j - 1 : 0]) / 2;
  return tougaard_k1(kernel_, x_[i] - x_[j]) * w;
}

std::vector<double> TougaardMatrix::apply(const std::vector<double>& net) const {
  const std::size_t n = x_.size();
  std::vector<double> s(n, 0.0);
  if (!packed_.empty() || n <= kTougaardKeptPoints) {
    std::size_t at = 0;
    for (std::size_t i = 1; i < n; ++i) {
      double sum = 0;
      const double* row = packed_.data() + at;
      for (std::size_t j = 0; j < i; ++j) sum += row[j] * net[j];
      s[i] = sum;
      at += i;
    }
    return s;
  }
  for (std::size_t i = 1; i < n; ++i) {
    // A survey's rows take seconds in all: the windows repaint meanwhile.
    rt::count_statement();
    double sum = 0;
    for (std::size_t j = 0; j < i; ++j) sum += weight(i, j) * net[j];
    s[i] = sum;
  }
  return s;
}

std::pair<std::vector<double>, std::vector<double>> TougaardMatrix::apply_with_unit(
    const std::vector<double>& net) const {
  const std::size_t n = x_.size();
  std::vector<double> s(n, 0.0), unit(n, 0.0);
  if (n < 2) return {s, unit};
  // The trapezoid weights as weight() has them, and each times its net value.
  std::vector<double> w(n, 0.0), wn(n, 0.0);
  for (std::size_t j = 0; j + 1 < n; ++j) {
    w[j] = (x_[j + 1] - x_[j > 0 ? j - 1 : 0]) / 2;
    wn[j] = w[j] * net[j];
  }
  const double step = (x_[n - 1] - x_[0]) / static_cast<double>(n - 1);
  bool equal_steps = step > 0;
  for (std::size_t j = 0; equal_steps && j + 1 < n; ++j)
    equal_steps = std::fabs(x_[j + 1] - x_[j] - step) <= 1e-6 * step;
  std::vector<double> lag;
  if (equal_steps) {
    lag.resize(n);
    for (std::size_t d = 0; d < n; ++d)
      lag[d] = tougaard_k1(kernel_, static_cast<double>(d) * step);
  }
  for (std::size_t i = 1; i < n; ++i) {
    // A survey's rows take seconds in all: the windows repaint meanwhile.
    rt::count_statement();
    // Four partial sums, so that the additions need not wait for one another.
    double a[4] = {}, b[4] = {};
    std::size_t j = 0;
    if (equal_steps) {
      const double* k = lag.data() + i;  // k[-j] is the kernel at lag i - j
      for (; j + 4 <= i; j += 4)
        for (std::size_t q = 0; q < 4; ++q) {
          const double kernel = *(k - static_cast<std::ptrdiff_t>(j + q));
          a[q] += kernel * wn[j + q];
          b[q] += kernel * w[j + q];
        }
      for (; j < i; ++j) {
        a[0] += *(k - static_cast<std::ptrdiff_t>(j)) * wn[j];
        b[0] += *(k - static_cast<std::ptrdiff_t>(j)) * w[j];
      }
    } else {
      for (; j < i; ++j) {
        const double kernel = tougaard_k1(kernel_, x_[i] - x_[j]);
        a[0] += kernel * wn[j];
        b[0] += kernel * w[j];
      }
    }
    s[i] = (a[0] + a[1]) + (a[2] + a[3]);
    unit[i] = (b[0] + b[1]) + (b[2] + b[3]);
  }
  return {s, unit};
}

std::optional<TougaardResult> tougaard_background(
    const std::vector<double>& x, const std::vector<double>& y, const TougaardKernel& kernel,
    double low, double high, const std::vector<std::size_t>& high_points, std::optional<double> b) {
  const std::size_t n = x.size();
  std::vector<std::size_t> order(n);
  std::iota(order.begin(), order.end(), std::size_t{0});
  std::stable_sort(order.begin(), order.end(),
                   [&](std::size_t a, std::size_t c) { return x[a] < x[c]; });
  std::vector<double> xs(n), net(n);
  for (std::size_t i = 0; i < n; ++i) {
    xs[i] = x[order[i]];
    net[i] = y[order[i]] - low;
  }
  const TougaardMatrix matrix(std::move(xs), kernel);
  std::vector<double> rising_sums, rising_unit_sums;
  if (n > kTougaardKeptPoints) {
    std::tie(rising_sums, rising_unit_sums) = matrix.apply_with_unit(net);
  } else {
    rising_sums = matrix.apply(net);
    rising_unit_sums = matrix.apply(std::vector<double>(n, 1.0));
  }

  TougaardResult r;
  r.low = low;
  r.sums.resize(n);
  r.unit_sums.resize(n);
  for (std::size_t i = 0; i < n; ++i) {
    r.sums[order[i]] = rising_sums[i];
    r.unit_sums[order[i]] = rising_unit_sums[i];
  }
  if (b) {
    r.b = *b;
  } else {
    double mean = 0;
    for (std::size_t i : high_points) mean += r.sums[i];
    if (!high_points.empty()) mean /= static_cast<double>(high_points.size());
    if (!(mean > 0) || !std::isfinite(mean)) return std::nullopt;
    r.b = (high - low) / mean;
  }
  r.values.resize(n);
  for (std::size_t i = 0; i < n; ++i) r.values[i] = low + r.b * r.sums[i];
  return r;
}

}  // namespace app
