// The whole redraw as every command ends with it: a full spectrum of 1001 points with six
// peaks, their sum and both axes, and the rounding of the peak fields. A mouse drag ends with
// one, and so does every fit.

#include <benchmark/benchmark.h>

#include <cmath>
#include <string>

#include "app/graph/drawgraph.h"
#include "app/shell/session.h"
#include "app/workspace/control_refs.h"
#include "app/workspace/workspace.h"
#include "runtime/forms/control_values.h"

namespace {

void load_spectrum_with_six_peaks() {
  app::Workspace& w = app::workspace();
  const double centres[6] = {282, 285, 288, 291, 294, 297};
  float ymin = 10000;
  double ymax = 0;
  for (int i = 0; i <= 1000; ++i) {
    const double x = 280 + 0.02 * i;
    double y = 15;
    for (double c : centres) y += 800 * std::exp(-(x - c) * (x - c) / 1.5);
    w.XDATA.at(i) = static_cast<float>(x);
    w.YDATA.at(i) = static_cast<float>(y);
    ymin = std::fmin(ymin, static_cast<float>(y));
    ymax = std::fmax(ymax, static_cast<float>(y));
  }
  w.LASTPOINT = 1000;
  w.XMIN = w.DATAXMIN = 280;
  w.XMAX = w.DATAXMAX = 300;
  w.YMIN = w.DATAYMIN = ymin;
  w.YMAX = w.DATAYMAX = ymax;
  for (int k = 1; k <= 6; ++k) {
    rt::set_text(app::EDIT(11 + k), std::to_string(279 + 3 * k) + ".0");
    rt::set_text(app::EDIT(23 + k), "780.0");
    rt::set_text(app::EDIT(17 + k), "1.1");
  }
}

void BM_Drawgraph(benchmark::State& state) {
  static app::Session session;
  static const bool started = [] {
    session.start();
    load_spectrum_with_six_peaks();
    return true;
  }();
  benchmark::DoNotOptimize(started);
  for (auto _ : state) app::DRAWGRAPH();
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_Drawgraph)->Unit(benchmark::kMillisecond);

}  // namespace
