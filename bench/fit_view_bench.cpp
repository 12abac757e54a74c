// The fit view's redraw as the graph's redraw triggers it: 1001 measured points over a
// background, six components, their envelope and the residual strip, with every label, drawn
// into the window's picture. Text goes through Qt's font engine, as in the program.

#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <cmath>
#include <string>

#include "app/graph/fit_view.h"
#include "app/graph/fit_view_window.h"
#include "app/shell/session.h"
#include "platform/headless/offscreen_qt.h"
#include "platform/text/qt_text_renderer.h"

namespace {

app::FitViewData six_peaks_on_a_background() {
  app::FitViewData d;
  const double centres[6] = {282, 285, 288, 291, 294, 297};
  for (int k = 1; k <= 6; ++k) d.components.push_back({k, {}});
  for (int i = 0; i <= 1000; ++i) {
    const double x = 280 + 0.02 * i;
    const double background = 400 + 10 * i / 1000.0;
    double sum = 0;
    for (int k = 0; k < 6; ++k) {
      const double c = 780 * std::exp(-(x - centres[k]) * (x - centres[k]) / 1.5);
      d.components[static_cast<std::size_t>(k)].y.push_back(c);
      sum += c;
    }
    d.x.push_back(x);
    d.background.push_back(background);
    d.sum.push_back(sum);
    d.measured.push_back(background + sum + 20 * std::sin(i * 0.7));
  }
  return d;
}

platform_text::QtTextRenderer& renderer() {
  static platform_text::QtTextRenderer r;
  return r;
}

// Building the steps and drawing them into a picture of the view's size.
void BM_FitViewRedraw(benchmark::State& state) {
  static app::Session session(nullptr, &renderer());
  static const bool started = [] {
    session.start();
    return true;
  }();
  benchmark::DoNotOptimize(started);
  const app::FitViewData data = six_peaks_on_a_background();
  rt::Picture picture(app::kFitViewWidth, app::kFitViewHeight);
  for (auto _ : state) {
    const app::FitView view = app::build_fit_view(data);
    picture.draw(view.drawing);
    benchmark::DoNotOptimize(picture.raster().data());
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_FitViewRedraw)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  headless::use_offscreen_qt();
  QGuiApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
