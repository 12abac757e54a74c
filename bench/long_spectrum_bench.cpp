// A survey of 100 000 points with six peaks, as a raw load keeps it beside the arrays: one
// redraw of the graph (curves computed and drawn through their deciding points, axes, field
// rounding) and one Refine of the six peaks (Skip 3), the whole command.

#include <benchmark/benchmark.h>

#include <cmath>
#include <string>

#include "app/commands/fit_commands.h"
#include "app/graph/drawgraph.h"
#include "app/shell/session.h"
#include "app/workspace/control_refs.h"
#include "app/workspace/workspace.h"
#include "runtime/forms/control_values.h"

namespace {

constexpr int kPoints = 100000;
constexpr double kCentres[6] = {150, 285, 400, 531, 700, 900};

void load_survey() {
  app::Workspace& w = app::workspace();
  app::LongSpectrum s;
  w.fit.spectrum.measured.clear();
  float ymin = 10000;
  double ymax = 0;
  for (int i = 0; i < kPoints; ++i) {
    const double x = 1000 - 0.01 * i;
    double y = 15;
    for (double c : kCentres) y += 800 * std::exp(-(x - c) * (x - c) / 1.5);
    s.x.push_back(static_cast<float>(x));
    s.y.push_back(static_cast<float>(y));
    w.fit.spectrum.measured.push_back(y + 100);
    ymin = std::fmin(ymin, static_cast<float>(y));
    ymax = std::fmax(ymax, y);
  }
  w.long_spectrum.set(std::move(s));
  w.LASTPOINT = -1;
  w.XMIN = w.DATAXMIN = 0;
  w.XMAX = w.DATAXMAX = 1000;
  w.YMIN = w.DATAYMIN = ymin;
  w.YMAX = w.DATAYMAX = ymax;
}

void place_peaks() {
  for (int k = 1; k <= 6; ++k) {
    rt::set_text(app::EDIT(11 + k), std::to_string(kCentres[k - 1] + 0.3));
    rt::set_text(app::EDIT(23 + k), "700");
    rt::set_text(app::EDIT(17 + k), "1.1");
  }
}

app::Session& started_session() {
  static app::Session session;
  static const bool started = [] {
    session.start();
    load_survey();
    return true;
  }();
  benchmark::DoNotOptimize(started);
  return session;
}

void BM_LongDrawgraph(benchmark::State& state) {
  started_session();
  place_peaks();
  for (auto _ : state) app::DRAWGRAPH();
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_LongDrawgraph)->Unit(benchmark::kMillisecond);

void BM_LongRefine(benchmark::State& state) {
  started_session();
  app::set_weight_counts(false);
  for (auto _ : state) {
    state.PauseTiming();
    place_peaks();
    state.ResumeTiming();
    app::REFINE_ON();
  }
}
BENCHMARK(BM_LongRefine)->Unit(benchmark::kMillisecond);

}  // namespace
