#pragma once
// The fit figure as the sweep needs it, fast: the same value KAI2 would give for the fields as
// they stand, bit for bit, without recomputing what the trial does not change.
//
// KAI2 recomputes every slot at every point from the field texts. During a scan only one
// parameter of one slot changes, and the figure compares only every Skip-th point. So the
// engine keeps each slot's curve at the compared points, the partial sums of the slots before
// the scanned one (the sum is still added in slot order), and, for the height scans, each
// point's profile divisor (the height only scales it). Anything out of the ordinary (a shape
// that could raise a run-time error at any point, a slot that is not present, an odd Skip)
// is handed to KAI2 itself, so errors surface exactly where and as KAI2 raises them.

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "app/model/peak_profile.h"
#include "app/workspace/peak_table.h"

namespace app {

class SweepEngine {
 public:
  SweepEngine();

  // A field may have changed behind the sweep's back (the user typed during a pump): read
  // everything again before the next figure.
  void mark_stale() { stale_ = true; }

  // The figure KAI2 gives when slot k's parameter p reads as `value` (its field holds that
  // value's text) and every other field reads as the engine last saw it.
  float figure(int k, Param p, double value);

  // The figures of a whole scan at once: entry i is what figure(k, p, values[i]) would give
  // while nothing else changes. Trials that figure() would hand to KAI2, and figures too large
  // for a single, have no entry: the scan asks figure() for them in their turn. Computed side
  // by side, the scan's running sums no longer wait for one another.
  std::vector<std::optional<float>> figures(int k, Param p, const std::vector<double>& values);

  // Slot k's parameter p now reads as `value`: the scan wrote its result.
  void set_parameter(int k, Param p, double value);

  // What the side-by-side figures keep between scans, in bytes: bounded whatever the Skip.
  std::size_t side_by_side_bytes() const { return scan_terms_size_ * sizeof(double); }

 private:
  struct Slot {
    bool present = false;
    bool safe = false;  // no run-time error at any point of the spectrum
    PeakShape shape;
    std::vector<float> values;  // the curve at the compared points
  };

  void reload();
  // Whether computing the shape at every point of the spectrum can raise no run-time error.
  bool safe_everywhere(const PeakShape& s) const;
  bool heights_fit_in_single(int k, double height) const;
  void compute_values(int k, const PeakShape& s, std::vector<float>& out);
  void prepare_partial_sums(int k);
  // The figure over slot k's curve `values`; nothing when the running sum overflows.
  std::optional<float> figure_over(int k, const std::vector<float>& values);
  // The figures of the trials `rows` (entries of out) from their terms in scan_terms_, a tile
  // of `tile` trials side by side.
  void sum_side_by_side(const std::vector<std::size_t>& rows, std::size_t n, std::size_t tile,
                        std::vector<std::optional<float>>& out);
  // The squared differences at the compared points for slot k's curve `values`, point m's at
  // out[m * stride].
  void squared_terms(int k, const std::vector<float>& values, double* out, std::size_t stride);

  bool stale_ = true;
  bool usable_ = false;  // false: every figure comes from KAI2
  ProfileConstants constants_{};
  std::vector<float> compared_x_, compared_y_;
  std::vector<float> sorted_x_;  // every point's x, for the skew-divisor test
  Slot slots_[kComponents];

  // Divisors of the profile at the compared points, for the shape `divisor_shape_` of slot
  // `divisor_slot_` (0: none). The height does not enter them.
  int divisor_slot_ = 0;
  PeakShape divisor_shape_;
  std::vector<double> divisors_;

  // Sum of slots 1 .. partial_slot_ - 1 at the compared points (0: not built).
  int partial_slot_ = 0;
  std::vector<double> partial_;

  std::vector<float> trial_values_;
  std::vector<float> scratch_;
  std::vector<double> sums_;
  // Every term a scan reads it has written first, so growing this zeroes nothing.
  std::unique_ptr<double[]> scan_terms_;
  std::size_t scan_terms_size_ = 0;
};

}  // namespace app
