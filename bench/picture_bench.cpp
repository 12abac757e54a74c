// The graph's redraw (a clear, seven curves of a thousand segments, the margins and the frame)
// and the export's BMP bytes, on the graph's 664 x 648 picture.

#include <benchmark/benchmark.h>

#include <cmath>

#include "runtime/picture/bmp_writer.h"
#include "runtime/picture/picture.h"

namespace {

constexpr int kPoints = 1001;

rt::LineCommand segment(double x0, double y0, double x1, double y1) {
  rt::LineCommand c;
  c.first = rt::PointF{x0, y0};
  c.second = {x1, y1};
  return c;
}

void draw_graph(rt::Picture& p) {
  p.clear();
  const rt::Colour colours[] = {0x000000, 0x0000FF, 0xFF0000, 0xFF00FF,
                                0x00FF00, 0xFFFF00, 0x00FFFF};
  for (int curve = 0; curve < 7; ++curve) {
    p.set_drawing_colour(colours[curve]);
    // Peaks whose tails leave the plot area, as badly ranged curves do.
    const auto y = [&](int i) {
      const double t = (i - 150.0 * (curve + 1)) / 40.0;
      return 610.0 - 700.0 * std::exp(-t * t) + 30.0 * curve;
    };
    for (int i = 0; i + 1 < kPoints; ++i)
      p.line(segment(650 - 0.55 * i, y(i), 650 - 0.55 * (i + 1), y(i + 1)));
  }
  const double margins[4][4] = {
      {0, 0, 650, 50}, {0, 0, 100, 610}, {0, 610, 664, 648}, {650, 0, 664, 648}};
  for (const auto& m : margins) {
    rt::LineCommand box = segment(m[0], m[1], m[2], m[3]);
    box.colour_index = 15;
    box.mode = rt::LineMode::kFilledRectangle;
    p.line(box);
  }
  rt::LineCommand frame = segment(100, 50, 650, 610);
  frame.colour_index = 0;
  frame.mode = rt::LineMode::kRectangle;
  p.line(frame);
}

void BM_GraphRedraw(benchmark::State& state) {
  rt::Picture p(664, 648);
  for (auto _ : state) {
    draw_graph(p);
    benchmark::DoNotOptimize(p.raster().data());
  }
  state.SetItemsProcessed(state.iterations() * 7 * (kPoints - 1));
}
BENCHMARK(BM_GraphRedraw);

void BM_FarLines(benchmark::State& state) {
  rt::Picture p(664, 648);
  for (auto _ : state) {
    for (int i = 0; i < 1000; ++i) p.line(segment(-2e9, 300 + i % 40, 2e9, 340 - i % 40));
    benchmark::DoNotOptimize(p.raster().data());
  }
  state.SetItemsProcessed(state.iterations() * 1000);
}
BENCHMARK(BM_FarLines);

void BM_BmpBytes(benchmark::State& state) {
  rt::Picture p(664, 648);
  draw_graph(p);
  for (auto _ : state) {
    auto bytes = rt::bmp_bytes(p.raster());
    benchmark::DoNotOptimize(bytes.data());
  }
  state.SetBytesProcessed(state.iterations() * 1290870);
}
BENCHMARK(BM_BmpBytes);

}  // namespace
