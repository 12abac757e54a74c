// The Tougaard background over 1001 points: one evaluation on kept kernel weights (what an
// active fit repeats), building those weights for a grid, and the whole background with B
// fitted (what a raw load pays). A peak with a step on a 0.05 eV grid, as a narrow scan.

#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

#include "app/files/tougaard_background.h"

namespace {

constexpr std::size_t kPoints = 1001;

std::vector<double> grid() {
  std::vector<double> x(kPoints);
  for (std::size_t i = 0; i < kPoints; ++i) x[i] = 280 + 0.05 * static_cast<double>(i);
  return x;
}

std::vector<double> spectrum(const std::vector<double>& x) {
  std::vector<double> y(x.size());
  for (std::size_t i = 0; i < x.size(); ++i)
    y[i] = 100 + 1000 * std::exp(-std::pow((x[i] - 290) / 0.8, 2)) + (x[i] > 290 ? 200 : 0);
  return y;
}

void BM_TougaardEvaluation(benchmark::State& state) {
  const auto x = grid();
  const app::TougaardMatrix matrix(x, {});
  auto net = spectrum(x);
  for (double& v : net) v -= 100;
  for (auto _ : state) benchmark::DoNotOptimize(matrix.apply(net));
}
BENCHMARK(BM_TougaardEvaluation)->Unit(benchmark::kMillisecond);

void BM_TougaardKernelWeights(benchmark::State& state) {
  const auto x = grid();
  for (auto _ : state) benchmark::DoNotOptimize(app::TougaardMatrix(x, {}));
}
BENCHMARK(BM_TougaardKernelWeights)->Unit(benchmark::kMillisecond);

void BM_TougaardBackground(benchmark::State& state) {
  const auto x = grid();
  const auto y = spectrum(x);
  const std::vector<std::size_t> high = {kPoints - 1, kPoints - 2, kPoints - 3};
  for (auto _ : state)
    benchmark::DoNotOptimize(app::tougaard_background(x, y, {}, 100, 300, high, std::nullopt));
}
BENCHMARK(BM_TougaardBackground)->Unit(benchmark::kMillisecond);

}  // namespace
