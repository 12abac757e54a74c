#include "app/workspace/spectrum_points.h"

#include <algorithm>

#include "app/workspace/workspace.h"

namespace app {

const LongSpectrum* long_spectrum() { return workspace().long_spectrum.get(); }

std::int32_t last_point() {
  if (const LongSpectrum* s = long_spectrum()) return static_cast<std::int32_t>(s->x.size()) - 1;
  return workspace().LASTPOINT;
}

std::int32_t point_count() { return std::max<std::int32_t>(last_point() + 1, 0); }

float point_x(std::int32_t i) {
  if (const LongSpectrum* s = long_spectrum()) return s->x.at(static_cast<std::size_t>(i));
  return workspace().XDATA.at(i);
}

float point_y(std::int32_t i) {
  if (const LongSpectrum* s = long_spectrum()) return s->y.at(static_cast<std::size_t>(i));
  return workspace().YDATA.at(i);
}

void set_point_ys(const std::vector<float>& y) {
  Workspace& w = workspace();
  if (const LongSpectrum* s = long_spectrum()) {
    LongSpectrum changed = *s;
    changed.y = y;
    changed.y.resize(s->x.size());
    w.long_spectrum.set(std::move(changed));
    return;
  }
  for (std::size_t i = 0; i < y.size(); ++i) w.YDATA.at(static_cast<std::int32_t>(i)) = y[i];
}

}  // namespace app
