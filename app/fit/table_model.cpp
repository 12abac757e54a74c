#include "app/fit/table_model.h"

#include <algorithm>

#include "app/workspace/counted_loop.h"
#include "app/workspace/peak_table.h"
#include "app/workspace/spectrum_points.h"
#include "app/workspace/workspace.h"

namespace app {

PeakModel model_of_table(float skip) {
  const Workspace& w = workspace();
  std::vector<double> x, y;
  counted_loop(0, static_cast<float>(last_point()), skip, [&](float counter) {
    const std::int32_t i = loop_index(counter);
    x.push_back(point_x(i));
    y.push_back(point_y(i));
  });
  std::vector<ModelSlot> slots;
  for (int k = 1; k <= kSlots; ++k) {
    if (!Present(k)) continue;
    ModelSlot s;
    s.slot = k;
    s.shape = read_peak_shape(k);
    s.free[static_cast<int>(FitParam::Centre)] = !Locked(k, Param::Centre);
    s.free[static_cast<int>(FitParam::Width)] = !Locked(k, Param::Width);
    s.free[static_cast<int>(FitParam::Height)] = !Locked(k, Param::Height);
    slots.push_back(s);
  }
  return PeakModel(std::move(x), std::move(y), std::move(slots), w.MIXRATIO);
}

std::vector<std::optional<double>> compared_measured_values(float skip) {
  const Workspace& w = workspace();
  const std::vector<double>& measured = w.fit.spectrum.measured;
  std::vector<std::optional<double>> out;
  counted_loop(0, static_cast<float>(last_point()), skip, [&](float counter) {
    const std::int32_t i = loop_index(counter);
    if (i >= 0 && static_cast<std::size_t>(i) < measured.size())
      out.emplace_back(measured[static_cast<std::size_t>(i)]);
    else
      out.emplace_back();
  });
  return out;
}

std::vector<double> spectrum_x() {
  std::vector<double> x;
  const std::int32_t last = last_point();
  for (std::int32_t i = 0; i <= last; ++i) x.push_back(point_x(i));
  return x;
}

SpectrumExtent spectrum_extent() {
  std::vector<double> x = spectrum_x();
  SpectrumExtent e;
  if (x.empty()) return e;
  std::sort(x.begin(), x.end());
  e.x_min = x.front();
  e.x_max = x.back();
  for (std::size_t i = 1; i < x.size(); ++i) {
    const double gap = x[i] - x[i - 1];
    if (gap > 0 && (e.smallest_spacing == 0 || gap < e.smallest_spacing)) e.smallest_spacing = gap;
  }
  return e;
}

}  // namespace app
