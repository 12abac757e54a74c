// One "FITTING" press with six free peaks on a 1001-point spectrum, by the shipped sweep and by
// the literal one (every figure recomputing every slot at every point from the field texts),
// and the ratio computation. The literal press runs first; the shipped press reports how many
// times faster it is.

#include <benchmark/benchmark.h>

#include <chrono>

#include "app/commands/fit_commands.h"
#include "app/fit/calc_ratio.h"
#include "app/fit/fitting.h"
#include "bench/six_peaks.h"
#include "tests/fit/literal_fit.h"

namespace {

using six_peaks::place_peaks;
using six_peaks::start_with_spectrum;

double literal_seconds[2] = {0, 0};  // per press, Skip 3 and Skip 1

void BM_LiteralPress(benchmark::State& state) {
  const char* skip = state.range(0) == 3 ? "3" : "1";
  start_with_spectrum();
  for (auto _ : state) {
    place_peaks(skip);
    const auto t0 = std::chrono::steady_clock::now();
    literal::fitting_press();
    literal_seconds[state.range(0) == 3 ? 0 : 1] =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
  }
}

void BM_ShippedPress(benchmark::State& state) {
  const char* skip = state.range(0) == 3 ? "3" : "1";
  start_with_spectrum();
  double total = 0;
  for (auto _ : state) {
    state.PauseTiming();
    place_peaks(skip);
    state.ResumeTiming();
    const auto t0 = std::chrono::steady_clock::now();
    app::BUTTON1_ON();
    total += std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
  }
  const double literal = literal_seconds[state.range(0) == 3 ? 0 : 1];
  if (literal > 0)
    state.counters["times_faster"] = literal / (total / static_cast<double>(state.iterations()));
}

void BM_CalcRatio(benchmark::State& state) {
  start_with_spectrum();
  place_peaks("3");
  app::BUTTON1_ON();
  for (auto _ : state) app::CALC_RATIO();
}

}  // namespace

BENCHMARK(BM_LiteralPress)->Arg(3)->Arg(1)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ShippedPress)->Arg(3)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CalcRatio)->Unit(benchmark::kMicrosecond);
