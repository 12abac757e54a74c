#include "app/fit/sweep_engine.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "app/fit/kai2.h"
#include "app/model/profile_batch.h"
#include "app/workspace/counted_loop.h"
#include "app/workspace/workspace.h"
#include "runtime/convert/arithmetic.h"
#include "runtime/errors/runtime_error.h"

namespace app {
namespace {

// Each curve value is at most its height, the profile's divisor being at least 1, so heights
// whose sum stays below this bound cannot overflow the model's sum either.
using rt::kSingleOverflow;
constexpr double kHeightBound = kBatchHeightBound;

// More compared points than this (a tiny fractional Skip) is left to KAI2.
constexpr std::size_t kMaxCompared = std::size_t{1} << 22;

// A scan's trials are summed side by side in tiles of this many: each point's terms of the
// tile's trials lie together, so one point's additions run on vectors.
constexpr std::size_t kTile = 8;
// Beyond this many compared points (a tiny Skip) a tile of one trial keeps the memory small.
constexpr std::size_t kTiledPoints = std::size_t{1} << 15;

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

// (y - the sum rounded to single)^2 at each point m, into out[m * stride].
__attribute__((target_clones("avx2", "default"))) void squared_differences(
    const float* y, const double* sums, std::size_t n, double* out, std::size_t stride) {
  for (std::size_t m = 0; m < n; ++m) {
    const double difference = static_cast<double>(y[m]) - static_cast<float>(sums[m]);
    out[m * stride] = difference * difference;
  }
}

// Four doubles, four singles, four lane masks: written out as vectors, since the compiler
// keeps the side-by-side sums below in scalar registers with a branch per term.
using Doubles = double __attribute__((vector_size(32)));
using Singles = float __attribute__((vector_size(16)));
using Lanes = long long __attribute__((vector_size(32)));

// Each trial's figure from its terms, point after point, the running sum rounded to single
// after every term; a sum that reaches the single limit (or is not a number) marks the
// trial. The terms of point m are terms[m * kTile ..], one per trial of the tile.
__attribute__((target_clones("avx2", "default"))) void sum_full_tile(const double* terms,
                                                                     std::size_t n, float* sums,
                                                                     bool* overflow) {
  static_assert(kTile == 8);
  const Doubles limit = {kSingleOverflow, kSingleOverflow, kSingleOverflow, kSingleOverflow};
  Singles low = {}, high = {};
  Lanes low_over = {}, high_over = {};
  for (std::size_t m = 0; m < n; ++m) {
    Doubles low_terms, high_terms;
    std::memcpy(&low_terms, terms + m * kTile, sizeof low_terms);
    std::memcpy(&high_terms, terms + m * kTile + 4, sizeof high_terms);
    const Doubles low_next = __builtin_convertvector(low, Doubles) + low_terms;
    const Doubles high_next = __builtin_convertvector(high, Doubles) + high_terms;
    const Lanes low_fits = low_next < limit, high_fits = high_next < limit;
    low_over |= ~low_fits;
    high_over |= ~high_fits;
    low = __builtin_convertvector(low_fits ? low_next : Doubles{}, Singles);
    high = __builtin_convertvector(high_fits ? high_next : Doubles{}, Singles);
  }
  for (std::size_t r = 0; r < 4; ++r) {
    sums[r] = low[r];
    sums[r + 4] = high[r];
    overflow[r] = low_over[r] != 0;
    overflow[r + 4] = high_over[r] != 0;
  }
}

// The same for a tile of one trial.
void sum_single(const double* terms, std::size_t n, float* sums, bool* overflow) {
  float sum = 0;
  bool over = false;
  for (std::size_t m = 0; m < n; ++m) {
    const double next = sum + terms[m];
    const bool fits = next < kSingleOverflow;
    over = over || !fits;
    sum = static_cast<float>(fits ? next : 0.0);
  }
  sums[0] = sum;
  overflow[0] = over;
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
  return batch_safe(s, sorted_x_.data(), sorted_x_.size());
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

void SweepEngine::squared_terms(int k, const std::vector<float>& values, double* out,
                                std::size_t stride) {
  const std::size_t n = values.size();
  sums_.resize(n);
  start_sums(partial_.data(), values.data(), n, sums_.data());
  for (int j = k + 1; j <= kComponents; ++j)
    if (slots_[j - 1].present) add_to_sums(slots_[j - 1].values.data(), n, sums_.data());
  squared_differences(compared_y_.data(), sums_.data(), n, out, stride);
}

std::optional<float> SweepEngine::figure_over(int k, const std::vector<float>& values) {
  const std::size_t n = values.size();
  sums_.resize(n);
  squared_terms(k, values, sums_.data(), 1);  // in place of the sums
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
  const std::size_t tile = n <= kTiledPoints ? kTile : 1;
  if (tile * n > scan_terms_size_) {
    scan_terms_ = std::make_unique_for_overwrite<double[]>(tile * n);
    scan_terms_size_ = tile * n;
  }
  std::vector<std::size_t> rows;  // the trials of the tile computed here, in order
  for (std::size_t i = 0; i < values.size();) {
    rows.clear();
    for (; i < values.size() && rows.size() < tile; ++i) {
      PeakShape trial = slot.shape;
      set_parameter_of(trial, p, values[i]);
      if (!safe_everywhere(trial) || !heights_fit_in_single(k, trial.height)) continue;
      compute_values(k, trial, trial_values_);
      squared_terms(k, trial_values_, scan_terms_.get() + rows.size(), tile);
      rows.push_back(i);
    }
    sum_side_by_side(rows, n, tile, out);
  }
  return out;
}

void SweepEngine::sum_side_by_side(const std::vector<std::size_t>& rows, std::size_t n,
                                   std::size_t tile, std::vector<std::optional<float>>& out) {
  if (rows.empty()) return;
  // A tile's unused places are zeroed rather than summed from whatever they held.
  for (std::size_t r = rows.size(); r < tile; ++r)
    for (std::size_t m = 0; m < n; ++m) scan_terms_[m * tile + r] = 0;
  float sums[kTile];
  bool overflow[kTile];
  if (tile == kTile)
    sum_full_tile(scan_terms_.get(), n, sums, overflow);
  else
    sum_single(scan_terms_.get(), n, sums, overflow);
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
