// Refine (least squares) of six free peaks on the 1001-point spectrum, from the start the
// FITTING benchmark uses, with Skip 3 and Skip 1: the whole command (solve, deviations,
// fields, redraw, ratios) and the solve with its deviations alone.

#include <benchmark/benchmark.h>

#include "app/commands/fit_commands.h"
#include "app/fit/refine.h"
#include "app/model/fit_report.h"
#include "bench/six_peaks.h"

namespace {

// Times `step` from the same six placed peaks each time, with Skip 3 or Skip 1.
template <class Step>
void refine_from_placed_peaks(benchmark::State& state, Step step) {
  const char* skip = state.range(0) == 3 ? "3" : "1";
  six_peaks::start_with_spectrum();
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

}  // namespace

BENCHMARK(BM_Refine)->Arg(3)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RefineSolveOnly)->Arg(3)->Arg(1)->Unit(benchmark::kMillisecond);
