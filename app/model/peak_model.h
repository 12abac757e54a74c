#pragma once
// The fit's model as plain numbers: the compared points of the spectrum, the present slots and
// which of their parameters are free. The least-squares solver, the uncertainties and the fit
// report all work on it; it reads no field and raises no run-time error.

#include <array>
#include <cstddef>
#include <vector>

#include "app/model/peak_profile.h"

namespace app {

// The three parameters a fit may move, in the order of a slot's entries below.
enum class FitParam { Centre = 0, Width = 1, Height = 2 };

struct ModelSlot {
  int slot = 0;  // 1 to 6
  PeakShape shape;
  std::array<bool, 3> free{};  // by FitParam
};

class PeakModel {
 public:
  PeakModel() = default;
  PeakModel(std::vector<double> x, std::vector<double> y, std::vector<ModelSlot> slots, double mix);

  // Weights every point's residual by 1 / sigma_i (one per point), so that rss() becomes
  // chi^2 = sum (f_i - y_i)^2 / sigma_i^2. Without, every sigma is 1.
  void set_inverse_sigmas(std::vector<double> inverse_sigmas);
  bool weighted() const { return !inverse_sigmas_.empty(); }
  const std::vector<double>& inverse_sigmas() const { return inverse_sigmas_; }

  std::size_t point_count() const { return x_.size(); }
  int free_count() const { return free_count_; }
  const std::vector<ModelSlot>& slots() const { return slots_; }
  const std::vector<double>& x() const { return x_; }
  const std::vector<double>& y() const { return y_; }
  const ProfileConstants& constants() const { return constants_; }

  // Where slot entry s's parameter p sits in the vector of free values, or -1 when locked.
  int index_of(std::size_t s, FitParam p) const { return index_[s][static_cast<int>(p)]; }
  // The free values as the slots hold them, slot by slot, centre, width, height.
  std::vector<double> free_values() const;
  // The slots' shapes with the free values put in.
  std::vector<ModelSlot> with_values(const double* values) const;
  // The same model with the free values put into its slots.
  PeakModel at(const double* values) const;

  // Residuals (model - y) / sigma at every point and, when `jacobian` is not null, their slopes
  // by the free values (row-major, one row of free_count() per point).
  void evaluate(const double* values, double* residuals, double* jacobian) const;
  // The sum of squared residuals (chi^2 when weighted).
  double rss(const double* values) const;

 private:
  std::vector<double> x_, y_, inverse_sigmas_;
  std::vector<ModelSlot> slots_;
  std::vector<std::array<int, 3>> index_;
  ProfileConstants constants_{};
  int free_count_ = 0;
};

}  // namespace app
