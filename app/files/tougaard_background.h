#pragma once
// The Tougaard background: at each point, the inelastic losses of every electron that left
// with more kinetic energy, weighted by the loss kernel
//   K(T) = B T / ((C + C' T^2)^2 + D T^2)      (T the energy loss, eV)
// On a binding-energy axis larger kinetic energy is smaller x, so the background at x_i sums
// over the points of smaller x, at the loss T = x_i - x_j:
//   bg_i = low + B * S_i,   S_i = integral over x' < x_i of K1(x_i - x') (y(x') - low) dx'
// with K1 the kernel at B = 1 and `low` the level of the low-loss end (the lowest x), the
// integral by trapezoids over the points. Pure functions of the points, as the other
// backgrounds.

#include <cstddef>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace app {

// The kernel's shape. The universal cross-section is C = 1643 eV^2, C' = 1, D = 0; the
// three-parameter form for polymers and oxides has C' = -1 with C and D from the material
// (SiO2: C = 542, D = 275 eV^2).
struct TougaardKernel {
  double c = 1643, c_prime = 1, d = 0;
};

// The kernel at B = 1 and loss t.
inline double tougaard_k1(const TougaardKernel& k, double t) {
  const double a = k.c + k.c_prime * t * t;
  return t / (a * a + k.d * t * t);
}

// The kernel's weights for one grid, computed once: S = weights * (y - low) for any y on that
// grid, in O(N^2) per evaluation. The grid is given by rising x.
class TougaardMatrix {
 public:
  explicit TougaardMatrix(std::vector<double> rising_x, const TougaardKernel& kernel);

  std::size_t size() const { return x_.size(); }
  // S_i for net values v (y - low) by rising x.
  std::vector<double> apply(const std::vector<double>& net) const;
  // S of the net values and S of 1, in one pass: how a long grid (a survey) is evaluated. On a
  // grid of equal steps (within 1e-6 of a step) the kernel depends on the lag alone and is
  // computed once per lag, so that each pair costs two multiply-adds instead of a division.
  std::pair<std::vector<double>, std::vector<double>> apply_with_unit(
      const std::vector<double>& net) const;

 private:
  double weight(std::size_t i, std::size_t j) const;

  std::vector<double> x_;
  TougaardKernel kernel_;
  // Row i holds K1(x_i - x_j) * w_ij for j < i, packed; grids too long to keep are computed
  // row by row on each evaluation instead.
  std::vector<double> packed_;
};

// The most points whose kernel weights are kept (about 16 MB); longer grids compute them as
// they go.
inline constexpr std::size_t kTougaardKeptPoints = 2048;

struct TougaardResult {
  std::vector<double> values;  // the background, in the order of the points given
  std::vector<double> sums;    // S_i, in the order of the points given
  // The same sums of 1 in place of y - low: the background is linear in the low level too,
  // low + B (S(y) - low S(1)), so a fit can move both.
  std::vector<double> unit_sums;
  double b = 0;    // the B used, fitted or given
  double low = 0;  // the low-loss end's level
};

// The background of the points (any order). `low` and `high` are the averaged levels of the
// low-x and high-x ends, `high_points` the indices (into x) of the points averaged at the
// high-x end. With `b` empty, B is fitted so that the background's mean over those points
// equals `high`: B = (high - low) / mean S there. Returns nothing when B cannot be fitted
// (no intensity above the low level before the high end: mean S not above 0).
std::optional<TougaardResult> tougaard_background(
    const std::vector<double>& x, const std::vector<double>& y, const TougaardKernel& kernel,
    double low, double high, const std::vector<std::size_t>& high_points, std::optional<double> b);

}  // namespace app
