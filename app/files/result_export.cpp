#include "app/files/result_export.h"

#include <algorithm>

#include "app/files/replacing_text_save.h"
#include "app/model/long_curves.h"
#include "app/workspace/components.h"
#include "app/workspace/control_refs.h"
#include "app/workspace/counted_loop.h"
#include "app/workspace/peak_curves.h"
#include "app/workspace/spectrum_points.h"
#include "app/workspace/workspace.h"
#include "runtime/convert/number_text.h"

namespace app {

std::vector<std::string> result_lines() {
  const Workspace& w = workspace();
  // The components beyond the six add their curves after the six, up to the highest present.
  const int last = std::max(6, component_count());
  std::vector<std::string> lines;
  if (const LongSpectrum* long_points = long_spectrum()) {
    // The same columns, the curves computed for the export.
    const LongModelCurves curves = long_model_curves(*long_points);
    for (std::size_t i = 0; i < long_points->x.size(); ++i) {
      std::string s = rt::single_text(long_points->x[i]);
      s += ',' + rt::single_text(long_points->y[i]);
      for (int k = 1; k <= last; ++k)
        s += ',' + rt::single_text(curves.peaks[static_cast<std::size_t>(k - 1)][i]);
      s += ',' + rt::single_text(curves.sum[i]);
      lines.push_back(std::move(s));
    }
    return lines;
  }
  counted_loop(0, w.LASTPOINT, 1, [&](float counter) {
    const std::int32_t i = loop_index(counter);
    // Untrimmed: a value without a minus sign keeps the blank in front of it.
    std::string s = rt::single_text(w.XDATA.at(i));
    s += ',' + rt::single_text(w.YDATA.at(i));
    for (int k = 1; k <= last; ++k) s += ',' + rt::single_text(peak_curve(w, k, i));
    s += ',' + rt::single_text(w.SUMCURVE.at(i));
    lines.push_back(std::move(s));
  });
  return lines;
}

void save_result_text(const std::string& path) { save_text_lines(path, result_lines()); }

}  // namespace app
