#include "app/workspace/spectrum_levels.h"

#include <cstddef>

namespace app {

SpectrumLevels& spectrum_levels() {
  static SpectrumLevels levels;
  return levels;
}

PointLevels point_levels(int i, double net) {
  const SpectrumLevels& l = spectrum_levels();
  const auto n = static_cast<std::size_t>(i);
  if (i < 0 || n >= l.measured.size() || n >= l.background.size()) return {net, 0};
  return {l.measured[n], l.background[n]};
}

}  // namespace app
