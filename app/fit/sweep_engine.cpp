#include "app/fit/sweep_engine.h"

#include <algorithm>
#include <cmath>

#include "app/fit/kai2.h"
#include "app/model/profile_batch.h"
#include "app/workspace/counted_loop.h"
#include "app/workspace/workspace.h"
#include "runtime/convert/arithmetic.h"
#include "runtime/errors/runtime_error.h"

namespace app {
namespace {

// Bounds inside which a shape cannot overflow anything: heights (each curve value is at most
// its height, the profile's divisor being at least 1, so the sum of six is bounded too), the
// distance from any x to the centre, the width's square and the skew term.
using rt::kSingleOverflow;
constexpr double kHeightBound = kBatchHeightBound;
constexpr double kDistanceBound = 0x1p126;
constexpr double kWidthLow = 1e-150, kWidthHigh = 1e150;
constexpr double kAlphaBound = 1e100;

// More compared points than this (a tiny fractional Skip) is left to KAI2.
constexpr std::size_t kMaxCompared = std::size_t{1} << 22;

// The terms that a scan's side-by-side figures hold at once (2 MiB): every trial of a scan at
// Skip 1 on a full spectrum, fewer at a time when a small Skip compares many more points.
constexpr std::size_t kSideBySideTerms = std::size_t{1} << 18;

void set_parameter_of(PeakShape& s, Param p, double value) {
  switch (p) {
    case Param::Centre:
      s.centre = value;
      break;
    case Param::Width:
      s.width = value;
      break;
    case Param::Height:
      s.height = value;
      break;
    case Param::Alpha:
      s.alpha = value;
      break;
  }
}

// The model's sum at each point, added in slot order: the slots before the scanned one, the
// scanned one, then each later one.
__attribute__((target_clones("avx2", "default"))) void start_sums(const double* partial,
                                                                  const float* values,
                                                                  std::size_t n, double* sums) {
  for (std::size_t m = 0; m < n; ++m) sums[m] = partial[m] + values[m];
}

__attribute__((target_clones("avx2", "default"))) void add_to_sums(const float* values,
                                                                   std::size_t n, double* sums) {
  for (std::size_t m = 0; m < n; ++m) sums[m] += values[m];
}

// (y - the sum rounded to single)^2 at each point, in place of the sums.
__attribute__((target_clones("avx2", "default"))) void squared_differences(const float* y,
                                                                           double* sums,
                                                                           std::size_t n) {
  for (std::size_t m = 0; m < n; ++m) {
    const double difference = static_cast<double>(y[m]) - static_cast<float>(sums[m]);
    sums[m] = difference * difference;
  }
}

bool same_divisor(const PeakShape& a, const PeakShape& b) {
  return a.centre == b.centre && a.width == b.width && a.asymmetric == b.asymmetric &&
         (!a.asymmetric || a.alpha == b.alpha);
}

}  // namespace

SweepEngine::SweepEngine() = default;

void SweepEngine::reload() {
  stale_ = false;
  usable_ = false;
  divisor_slot_ = 0;
  partial_slot_ = 0;
  compared_x_.clear();
  compared_y_.clear();
  sorted_x_.clear();
  const Workspace& w = workspace();
  constants_ = ProfileConstants::for_mix(w.MIXRATIO);
  try {
    // Whatever fails here fails in KAI2 as well, which then raises it in its own order.
    const float skip = read_skip();
    bool odd_index = false;
    counted_loop(0, w.LASTPOINT, skip, [&](float counter) {
      const std::int32_t i = loop_index(counter);
      if (i < 0 || i > 1000 || compared_x_.size() >= kMaxCompared) {
        odd_index = true;
        return;
      }
      compared_x_.push_back(w.XDATA.at(i));
      compared_y_.push_back(w.YDATA.at(i));
    });
    if (odd_index) return;
    counted_loop(0, w.LASTPOINT, 1,
                 [&](float counter) { sorted_x_.push_back(w.XDATA.at(loop_index(counter))); });
    std::sort(sorted_x_.begin(), sorted_x_.end());
    for (int k = 1; k <= kComponents; ++k) {
      Slot& slot = slots_[k - 1];
      slot.present = Present(k);
      slot.values.assign(compared_x_.size(), 0.0f);
      if (slot.present) slot.shape = read_peak_shape(k);
    }
  } catch (const rt::RuntimeError&) {
    return;
  }
  for (int k = 1; k <= kComponents; ++k) {
    Slot& slot = slots_[k - 1];
    if (!slot.present) continue;
    if (!safe_everywhere(slot.shape) || !heights_fit_in_single(k, slot.shape.height)) return;
    compute_values(k, slot.shape, slot.values);
  }
  trial_values_.resize(compared_x_.size());
  partial_.resize(compared_x_.size());
  usable_ = true;
}

bool SweepEngine::safe_everywhere(const PeakShape& s) const {
  if (!(std::fabs(s.height) < kHeightBound)) return false;
  const double width = std::fabs(s.width);
  if (!(width > kWidthLow && width < kWidthHigh)) return false;
  const double xlow = sorted_x_.front(), xhigh = sorted_x_.back();
  if (!(std::fabs(xlow - s.centre) < kDistanceBound &&
        std::fabs(xhigh - s.centre) < kDistanceBound))
    return false;
  if (!s.asymmetric || s.alpha == 0) return true;
  if (!(std::fabs(s.alpha) < kAlphaBound)) return false;
  // The skew divisor 1 + a*d/w is exactly 0 only where d is within a hair of -w/a: look at the
  // few x values there and test them exactly as the profile computes them. Why the window
  // [c + z - m, c + z + m] around the computed zero z = -w/a holds every such x, with u = 2^-53
  // the unit roundoff of a double:
  //  - The profile's fl(1 + fl(fl(a*d) / w)) is 0 only when fl(fl(a*d) / w) is exactly -1 (a
  //    sum of doubles rounds to 0 only when it is 0), so a*d*(1+e1)/w = -(1+e2), |e1|, |e2| <= u
  //    (a*d is near -w, far above the subnormals), and |d - z| <= 2.01u |z|.
  //  - d is x - c rounded to double, then to single: |d - (x - c)| <= |x - c| (u + 2^-24)
  //    + 2^-150, the last term the half step of the subnormal singles. So the x we look for
  //    lie within |z| 2^-23 + 2^-149 of c + z, with room to spare.
  //  - z, c + z, m and the window's ends are rounded in double: together they move an end by
  //    at most (|c| + |z| + m) 4u, far below (|c| + |z|) 2^-45.
  // So m = |z| 2^-20 + (|c| + |z|) 2^-45 + 2^-148 covers each part at least twice over.
  const double zero_at = -s.width / s.alpha;
  const double margin = std::fabs(zero_at) * 0x1p-20 +
                        (std::fabs(s.centre) + std::fabs(zero_at)) * 0x1p-45 + 0x1p-148;
  const double target = s.centre + zero_at;
  auto first = std::lower_bound(sorted_x_.begin(), sorted_x_.end(), target - margin,
                                [](float x, double v) { return x < v; });
  for (auto it = first; it != sorted_x_.end() && *it <= target + margin; ++it) {
    const float d = static_cast<float>(static_cast<double>(*it) - s.centre);
    if (1 + s.alpha * d / s.width == 0) return false;
  }
  return true;
}

bool SweepEngine::heights_fit_in_single(int k, double height) const {
  double total = std::fabs(height);
  for (int j = 1; j <= kComponents; ++j)
    if (j != k && slots_[j - 1].present) total += std::fabs(slots_[j - 1].shape.height);
  return total < kHeightBound;
}

void SweepEngine::compute_values(int k, const PeakShape& s, std::vector<float>& out) {
  const std::size_t n = compared_x_.size();
  if (!(divisor_slot_ == k && same_divisor(divisor_shape_, s))) {
    divisors_.resize(n);
    scratch_.resize(n);
    batch_divisors(compared_x_.data(), n, s, width_squared(s), constants_, divisors_.data(),
                   scratch_.data());
    divisor_slot_ = k;
    divisor_shape_ = s;
  }
  out.resize(n);
  batch_values(s.height, divisors_.data(), n, out.data());
}

void SweepEngine::prepare_partial_sums(int k) {
  if (partial_slot_ == k) return;
  std::fill(partial_.begin(), partial_.end(), 0.0);
  bool first = true;
  for (int j = 1; j < k; ++j) {
    const Slot& slot = slots_[j - 1];
    if (!slot.present) continue;
    // Added in slot order exactly as the model's sum adds them.
    for (std::size_t m = 0; m < partial_.size(); ++m)
      partial_[m] = first ? static_cast<double>(slot.values[m]) : partial_[m] + slot.values[m];
    first = false;
  }
  partial_slot_ = k;
}

void SweepEngine::squared_terms(int k, const std::vector<float>& values, double* out) {
  const std::size_t n = values.size();
  start_sums(partial_.data(), values.data(), n, out);
  for (int j = k + 1; j <= kComponents; ++j)
    if (slots_[j - 1].present) add_to_sums(slots_[j - 1].values.data(), n, out);
  squared_differences(compared_y_.data(), out, n);
}

std::optional<float> SweepEngine::figure_over(int k, const std::vector<float>& values) {
  const std::size_t n = values.size();
  sums_.resize(n);
  squared_terms(k, values, sums_.data());
  // The running sum is rounded to single after every term, so it is added point by point.
  float sum = 0;
  for (std::size_t m = 0; m < n; ++m) {
    const double next = sum + sums_[m];
    if (!(next < kSingleOverflow)) return std::nullopt;
    sum = static_cast<float>(next);
  }
  return sum;
}

std::vector<std::optional<float>> SweepEngine::figures(int k, Param p,
                                                       const std::vector<double>& values) {
  std::vector<std::optional<float>> out(values.size());
  if (stale_) reload();
  const Slot& slot = slots_[k - 1];
  if (!usable_ || !slot.present) return out;
  const std::size_t n = compared_x_.size();
  prepare_partial_sums(k);
  // The terms of a block of trials at a time, so that a tiny Skip (many compared points) costs
  // time but not memory.
  const std::size_t block =
      std::max<std::size_t>(1, kSideBySideTerms / std::max<std::size_t>(n, 1));
  const std::size_t terms = std::min(block, values.size()) * n;
  if (terms > scan_terms_size_) {
    scan_terms_ = std::make_unique_for_overwrite<double[]>(terms);
    scan_terms_size_ = terms;
  }
  std::vector<std::size_t> rows;  // the trials of the block computed here, in order
  for (std::size_t i = 0; i < values.size();) {
    rows.clear();
    for (; i < values.size() && rows.size() < block; ++i) {
      PeakShape trial = slot.shape;
      set_parameter_of(trial, p, values[i]);
      if (!safe_everywhere(trial) || !heights_fit_in_single(k, trial.height)) continue;
      compute_values(k, trial, trial_values_);
      squared_terms(k, trial_values_, scan_terms_.get() + rows.size() * n);
      rows.push_back(i);
    }
    sum_side_by_side(rows, n, out);
  }
  return out;
}

void SweepEngine::sum_side_by_side(const std::vector<std::size_t>& rows, std::size_t n,
                                   std::vector<std::optional<float>>& out) {
  // Each trial's sum still takes its terms one after the other, in point order.
  std::vector<float> sums(rows.size(), 0.0f);
  std::vector<char> overflow(rows.size(), 0);
  for (std::size_t m = 0; m < n; ++m) {
    for (std::size_t r = 0; r < rows.size(); ++r) {
      const double next = sums[r] + scan_terms_[r * n + m];
      const bool fits = next < kSingleOverflow;
      overflow[r] |= !fits;
      sums[r] = static_cast<float>(fits ? next : 0.0);
    }
  }
  for (std::size_t r = 0; r < rows.size(); ++r)
    if (!overflow[r]) out[rows[r]] = sums[r];
}

float SweepEngine::figure(int k, Param p, double value) {
  if (stale_) reload();
  const Slot& slot = slots_[k - 1];
  if (!usable_ || !slot.present) return KAI2();
  PeakShape trial = slot.shape;
  set_parameter_of(trial, p, value);
  if (!safe_everywhere(trial) || !heights_fit_in_single(k, trial.height)) return KAI2();
  compute_values(k, trial, trial_values_);
  prepare_partial_sums(k);
  // A sum that overflows is KAI2's error: KAI2 meets it at the same term and raises it as and
  // where it always does.
  if (const std::optional<float> f = figure_over(k, trial_values_)) return *f;
  return KAI2();
}

void SweepEngine::set_parameter(int k, Param p, double value) {
  if (stale_) return;
  Slot& slot = slots_[k - 1];
  if (!slot.present) {
    stale_ = true;
    return;
  }
  set_parameter_of(slot.shape, p, value);
  partial_slot_ = 0;
  if (!usable_) return;
  if (!safe_everywhere(slot.shape) || !heights_fit_in_single(k, slot.shape.height)) {
    usable_ = false;
    return;
  }
  compute_values(k, slot.shape, slot.values);
}

}  // namespace app
