#include "app/graph/round_ticks.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace app {

double round_step_at_least(double minimum) {
  if (!(minimum > 0) || !std::isfinite(minimum)) return 1;
  double power = std::pow(10.0, std::floor(std::log10(minimum)));
  // log10 may land a hair below a power of ten.
  if (power * 10 <= minimum) power *= 10;
  for (double m : {1.0, 2.0, 5.0, 10.0})
    if (m * power >= minimum * (1 - 1e-12)) return m * power;
  return 10 * power;
}

double next_round_step(double step) {
  const double power = std::pow(10.0, std::floor(std::log10(step) + 1e-9));
  const double mantissa = step / power;
  if (mantissa < 1.5) return 2 * power;
  if (mantissa < 3.5) return 5 * power;
  return 10 * power;
}

std::vector<double> ticks_within(double lo, double hi, double step) {
  std::vector<double> values;
  if (!(step > 0) || !(hi >= lo)) return values;
  const double slack = step * 1e-9;
  const double first = std::ceil((lo - slack) / step);
  const double last = std::floor((hi + slack) / step);
  if (!(last - first < 1000)) return values;  // no axis shows more; guards absurd input
  for (double k = first; k <= last; ++k) values.push_back(k * step);
  return values;
}

std::string tick_text(double value, double step) {
  const int decimals = std::max(0, static_cast<int>(-std::floor(std::log10(step) + 1e-9)));
  char buffer[64];
  const auto [end, ec] =
      std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
  std::string text = ec == std::errc() ? std::string(buffer, end) : std::string("?");
  // A value that rounds to zero is zero, not "-0" or "-0.0".
  if (text.front() == '-' && text.find_first_not_of("-0.") == std::string::npos) text.erase(0, 1);
  return text;
}

AxisTicks choose_ticks(double lo, double hi, double pixels, double min_pixels, double gap,
                       const std::function<double(const std::string&)>& extent) {
  AxisTicks ticks;
  if (!(hi > lo) || !std::isfinite(hi - lo) || !(pixels > 0)) return ticks;
  const double per_unit = pixels / (hi - lo);
  double step = round_step_at_least(min_pixels / per_unit);
  // A wider step leaves more room between labels; at the latest one label stands alone.
  for (int tries = 0; tries < 64; ++tries, step = next_round_step(step)) {
    ticks.step = step;
    ticks.values = ticks_within(lo, hi, step);
    ticks.texts.clear();
    std::vector<double> extents;
    for (double v : ticks.values) {
      ticks.texts.push_back(tick_text(v, step));
      extents.push_back(extent(ticks.texts.back()));
    }
    bool apart = true;
    for (std::size_t i = 1; i < extents.size() && apart; ++i)
      apart = step * per_unit >= (extents[i - 1] + extents[i]) / 2 + gap;
    if (apart) break;
  }
  return ticks;
}

}  // namespace app
