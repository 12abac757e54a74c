#pragma once
// Round tick steps (1, 2 or 5 times a power of ten) and labels placed so that no two of them
// overprint, for axes of any range: from a 2 eV window to a 1400 eV survey, from a few counts
// to millions.

#include <functional>
#include <string>
#include <vector>

namespace app {

// The smallest step of the form 1, 2 or 5 x 10^k that is at least `minimum` (> 0).
double round_step_at_least(double minimum);
// The round step after `step`: 1 -> 2 -> 5 -> 10.
double next_round_step(double step);

// The multiples of `step` within [lo, hi] (ends included, within a part in 10^9 of the step).
std::vector<double> ticks_within(double lo, double hi, double step);

// A tick value with as many decimals as the step needs (0.2 -> one, 50 -> none); never "-0".
std::string tick_text(double value, double step);

struct AxisTicks {
  double step = 1;
  std::vector<double> values;
  std::vector<std::string> texts;
};

// Ticks for an axis showing [lo, hi] over `pixels` pixels: the smallest round step whose
// labels, each taking `extent(text)` pixels along the axis plus `gap`, do not overlap. At least
// `min_pixels` between ticks. An empty or invalid range gives no ticks.
AxisTicks choose_ticks(double lo, double hi, double pixels, double min_pixels, double gap,
                       const std::function<double(const std::string&)>& extent);

}  // namespace app
