// Refine (least squares) of six free peaks on the 1001-point spectrum, from the start the
// FITTING benchmark uses, with Skip 3 and Skip 1: the whole command (solve, deviations,
// fields, redraw, ratios) and the solve with its deviations alone; and both weighted by
// counting statistics, the spectrum taken as counts over a background of 100.

#include <benchmark/benchmark.h>

#include "app/commands/fit_commands.h"
#include "app/fit/refine.h"
#include "app/model/fit_report.h"
#include "app/workspace/workspace.h"
#include "bench/six_peaks.h"

namespace {

// Times `step` from the same six placed peaks each time, with Skip 3 or Skip 1.
template <class Step>
void refine_from_placed_peaks(benchmark::State& state, Step step, bool weighted = false) {
  const char* skip = state.range(0) == 3 ? "3" : "1";
  six_peaks::start_with_spectrum();
  app::Workspace& w = app::workspace();
  w.fit.spectrum.measured.clear();
  for (int i = 0; i <= w.LASTPOINT; ++i)
    w.fit.spectrum.measured.push_back(static_cast<double>(w.YDATA.at(i)) + 100);
  app::set_weight_counts(weighted);
  for (auto _ : state) {
    state.PauseTiming();
    six_peaks::place_peaks(skip);
    state.ResumeTiming();
    step();
  }
}

void BM_Refine(benchmark::State& state) {
  refine_from_placed_peaks(state, [] { app::REFINE_ON(); });
  if (const app::FitRecord* record = app::last_fit())
    state.counters["rss"] = app::make_fit_report(*record).rss;
}

void BM_RefineSolveOnly(benchmark::State& state) {
  refine_from_placed_peaks(state, [] { app::refine_table(); });
}

void BM_RefineWeighted(benchmark::State& state) {
  refine_from_placed_peaks(
      state, [] { app::REFINE_ON(); }, true);
  if (const app::FitRecord* record = app::last_fit())
    state.counters["chi2"] = app::make_fit_report(*record).chi2;
}

void BM_RefineSolveOnlyWeighted(benchmark::State& state) {
  refine_from_placed_peaks(
      state, [] { app::refine_table(); }, true);
}

}  // namespace

BENCHMARK(BM_RefineWeighted)->Arg(3)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RefineSolveOnlyWeighted)->Arg(3)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Refine)->Arg(3)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RefineSolveOnly)->Arg(3)->Arg(1)->Unit(benchmark::kMillisecond);
