#include "app/fit/fit_uncertainty.h"

#include <cmath>
#include <limits>

namespace app {
namespace {

// Inverts the symmetric positive definite matrix `a` (m x m) in place by Cholesky; false when
// it is not positive definite to working precision.
bool invert_positive_definite(std::vector<double>& a, std::size_t m) {
  std::vector<double> l(m * m, 0.0);
  for (std::size_t j = 0; j < m; ++j) {
    double diagonal = a[j * m + j];
    for (std::size_t k = 0; k < j; ++k) diagonal -= l[j * m + k] * l[j * m + k];
    // The matrix comes scaled to a unit diagonal: a pivot this small means the columns are
    // dependent within rounding.
    if (!(diagonal > 1e-13)) return false;
    l[j * m + j] = std::sqrt(diagonal);
    for (std::size_t i = j + 1; i < m; ++i) {
      double sum = a[i * m + j];
      for (std::size_t k = 0; k < j; ++k) sum -= l[i * m + k] * l[j * m + k];
      l[i * m + j] = sum / l[j * m + j];
    }
  }
  // L^-1 by forward substitution, then A^-1 = L^-T L^-1.
  std::vector<double> inv(m * m, 0.0);
  for (std::size_t c = 0; c < m; ++c) {
    for (std::size_t i = c; i < m; ++i) {
      double sum = i == c ? 1.0 : 0.0;
      for (std::size_t k = c; k < i; ++k) sum -= l[i * m + k] * inv[k * m + c];
      inv[i * m + c] = sum / l[i * m + i];
    }
  }
  for (std::size_t i = 0; i < m; ++i)
    for (std::size_t j = 0; j <= i; ++j) {
      double sum = 0;
      for (std::size_t k = i; k < m; ++k) sum += inv[k * m + i] * inv[k * m + j];
      a[i * m + j] = a[j * m + i] = sum;
    }
  return true;
}

}  // namespace

std::vector<double> free_value_covariance(const PeakModel& model, const std::vector<double>& values,
                                          double s2) {
  const std::size_t n = model.point_count();
  const std::size_t p = static_cast<std::size_t>(model.free_count());
  std::vector<double> residuals(n), jacobian(n * p);
  model.evaluate(values.data(), residuals.data(), jacobian.data());

  std::vector<double> jtj(p * p, 0.0);
  for (std::size_t i = 0; i < n; ++i) {
    const double* row = &jacobian[i * p];
    for (std::size_t a = 0; a < p; ++a)
      for (std::size_t b = 0; b <= a; ++b) jtj[a * p + b] += row[a] * row[b];
  }
  // Scaled to a unit diagonal, so parameters of very different sizes (a height of 10^5 next
  // to a width of 1) do not decide the pivots; columns of 0 are left out.
  std::vector<std::size_t> kept;
  std::vector<double> scale;
  for (std::size_t a = 0; a < p; ++a)
    if (jtj[a * p + a] > 0 && std::isfinite(jtj[a * p + a])) {
      kept.push_back(a);
      scale.push_back(1 / std::sqrt(jtj[a * p + a]));
    }
  const std::size_t m = kept.size();
  std::vector<double> reduced(m * m);
  for (std::size_t i = 0; i < m; ++i)
    for (std::size_t j = 0; j <= i; ++j)
      reduced[i * m + j] = reduced[j * m + i] = jtj[kept[i] * p + kept[j]] * scale[i] * scale[j];

  constexpr double kInfinity = std::numeric_limits<double>::infinity();
  const double nan = std::numeric_limits<double>::quiet_NaN();
  std::vector<double> covariance(p * p, nan);
  for (std::size_t a = 0; a < p; ++a) covariance[a * p + a] = kInfinity;
  if (!invert_positive_definite(reduced, m)) return covariance;
  for (std::size_t i = 0; i < m; ++i)
    for (std::size_t j = 0; j < m; ++j)
      covariance[kept[i] * p + kept[j]] = s2 * reduced[i * m + j] * scale[i] * scale[j];
  return covariance;
}

}  // namespace app
