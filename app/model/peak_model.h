#pragma once
// The fit's model as plain numbers: the compared points of the spectrum, the present slots and
// which of their parameters are free. The least-squares solver, the uncertainties and the fit
// report all work on it; it reads no field and raises no run-time error.

#include <array>
#include <cstddef>
#include <optional>
#include <vector>

#include "app/model/peak_profile.h"

namespace app {

// The three parameters a fit may move, in the order of a slot's entries below.
enum class FitParam { Centre = 0, Width = 1, Height = 2 };

// A parameter that follows another slot's same parameter: its source's value plus an offset,
// times a ratio, or (a height) the height that holds the two areas in a ratio. With a
// tolerance the offset or ratio is itself a free value, bounded to [low, high].
struct SlotLink {
  enum class Kind { Offset, Ratio, AreaRatio };
  Kind kind = Kind::Offset;
  std::size_t source = 0;  // the source's entry in the model's slots
  double amount = 0;       // the offset or ratio (its start, with a tolerance)
  bool tolerance = false;
  double low = 0, high = 0;
  bool operator==(const SlotLink&) const = default;
};

struct ModelSlot {
  int slot = 0;  // 1 to 20
  PeakShape shape;
  std::array<bool, 3> free{};                     // by FitParam; false for a linked parameter
  std::array<std::optional<SlotLink>, 3> link{};  // by FitParam
  // Typed bounds ("lo:hi") that Refine keeps a free parameter within, by FitParam.
  std::array<std::optional<std::array<double, 2>>, 3> bounds{};
};

// A value's slopes by the free values, as (index, slope) pairs.
using SparseGradient = std::vector<std::pair<int, double>>;

// A background fitted together with the peaks: its parameters follow the peaks' free values,
// and the model compares peaks + background with the measured values.
//   Linear:   level_low + (level_high - level_low) * along     (along: 0 at the lowest x, 1 at
//             the highest)
//   Shirley:  c + k * (along - c * span)   (along: the integral of the measured values from the
//             lowest x, span: x less the lowest x; so k times the integral of I - c)
//   Tougaard: c + B * (along - c * span)   (along: the kernel sum of the measured values, span:
//             that of 1; so B times the kernel sum of I - c)
struct ActiveBackground {
  enum class Form { Linear, Shirley, Tougaard };
  Form form = Form::Linear;
  std::vector<double> along, span;  // at each compared point
  std::vector<double> values;       // the parameters, in the order above

  std::size_t parameter_count() const { return 2; }
  // The background at compared point i, and its slopes by the parameters.
  double at(std::size_t i) const;
  void slopes(std::size_t i, double* out) const;
  // The parameters' names as the report gives them.
  std::vector<const char*> names() const;
};

class PeakModel {
 public:
  PeakModel() = default;
  PeakModel(std::vector<double> x, std::vector<double> y, std::vector<ModelSlot> slots, double mix);

  // Weights every point's residual by 1 / sigma_i (one per point), so that rss() becomes
  // chi^2 = sum (f_i - y_i)^2 / sigma_i^2. Without, every sigma is 1.
  void set_inverse_sigmas(std::vector<double> inverse_sigmas);
  bool weighted() const { return !inverse_sigmas_.empty(); }

  // Compares peaks + the background with `measured` (one per point) instead of the net
  // values; the background's parameters become free values after the peaks'.
  void set_active_background(ActiveBackground background, std::vector<double> measured);
  const std::optional<ActiveBackground>& active_background() const { return background_; }
  // Where the background's first parameter sits in the free values.
  int background_index() const { return background_index_; }
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
  // The slots' shapes with the free values put in and the links followed.
  std::vector<ModelSlot> with_values(const double* values) const;
  // Whether any parameter follows a link.
  bool has_links() const { return !link_order_.empty(); }
  // Where link (s, p)'s own offset or ratio sits among the free values, or -1 (no tolerance).
  int link_index(std::size_t s, FitParam p) const { return link_index_[s][static_cast<int>(p)]; }
  // The slopes of slot entry s's parameter p by the free values, at the slots' values: a free
  // parameter's is 1 by itself, a linked one's goes through its links, a locked one has none.
  SparseGradient gradient_of(std::size_t s, FitParam p) const;
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
  std::vector<std::array<int, 3>> link_index_;
  // The linked parameters, each after its source: (slot entry, parameter).
  std::vector<std::pair<std::size_t, FitParam>> link_order_;
  void follow_links(std::vector<ModelSlot>& slots, const double* values) const;
  std::vector<std::array<SparseGradient, 3>> gradients(const std::vector<ModelSlot>& slots) const;
  // One linked parameter's slopes on the free values, from its source's (already chained).
  void chain_link(const std::vector<ModelSlot>& slots, std::size_t s, FitParam p,
                  std::vector<std::array<SparseGradient, 3>>& g) const;
  bool has_fixed_area_factor(std::size_t s, std::size_t source) const;
  // An area-linked height also moves with both widths.
  void chain_area_widths(const std::vector<ModelSlot>& slots, std::size_t s, std::size_t source,
                         double own_height, const std::vector<std::array<SparseGradient, 3>>& g,
                         SparseGradient& out) const;
  std::optional<ActiveBackground> background_;
  int background_index_ = -1;
  ProfileConstants constants_{};
  int free_count_ = 0;
};

}  // namespace app
