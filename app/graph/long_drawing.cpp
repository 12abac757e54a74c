#include "app/graph/long_drawing.h"

#include <cmath>
#include <cstdint>

#include "app/graph/plot_mapping.h"
#include "app/model/long_curves.h"
#include "app/workspace/peak_colours.h"
#include "runtime/forms/statement_pump.h"
#include "runtime/picture/picture_ops.h"

namespace app {
namespace {

constexpr unsigned kSumColour = 0x0000FF;  // red, as DRAWGRAPH's

// The pixel a coordinate rounds to, when it is one the picture can round.
bool pixel_of(float v, std::int64_t& pixel) {
  if (!(std::fabs(v) < 2e9f)) return false;
  pixel = std::llround(v);
  return true;
}

void draw_through(rt::ObjRef picture, const std::vector<float>& column,
                  const std::vector<float>& row) {
  const std::vector<std::size_t> points = deciding_points(column, row);
  // A single point is drawn as the arrays' loop draws it: its one segment to itself is not
  // drawn there either, as that loop joins points 0 and 1 (1 not loaded) only for LASTPOINT 0.
  for (std::size_t j = 1; j < points.size(); ++j) {
    if (j % 256 == 0) rt::count_statement();
    rt::LineCommand segment;
    segment.first = rt::PointF{column[points[j - 1]], row[points[j - 1]]};
    segment.second = rt::PointF{column[points[j]], row[points[j]]};
    rt::picture_line(picture, segment);
  }
}

}  // namespace

std::vector<std::size_t> deciding_points(const std::vector<float>& column,
                                         const std::vector<float>& row) {
  std::vector<std::size_t> out;
  const std::size_t n = std::min(column.size(), row.size());
  std::size_t i = 0;
  while (i < n) {
    std::int64_t c = 0, r = 0;
    if (!pixel_of(column[i], c) || !pixel_of(row[i], r)) {
      out.push_back(i++);
      continue;
    }
    // The run of points on column c.
    std::size_t lowest = i, highest = i, last = i;
    std::size_t j = i + 1;
    for (; j < n; ++j) {
      std::int64_t cj = 0, rj = 0;
      if (!pixel_of(column[j], cj) || cj != c || !pixel_of(row[j], rj)) break;
      if (row[j] < row[lowest]) lowest = j;
      if (row[j] > row[highest]) highest = j;
      last = j;
    }
    const std::size_t first = i;
    // First, then the extremes in index order, then the last: each segment stays on column c.
    const std::size_t low = std::min(lowest, highest), high = std::max(lowest, highest);
    for (std::size_t k : {first, low, high, last})
      if (out.empty() || out.back() != k) out.push_back(k);
    i = j;
  }
  return out;
}

void draw_long_curves(Workspace& w, rt::ObjRef picture, const LongSpectrum& s) {
  const std::size_t n = s.x.size();
  std::vector<float> column(n), row(n);
  for (std::size_t i = 0; i < n; ++i) column[i] = px(w, s.x[i]);
  const auto rows_of = [&](const std::vector<float>& y) {
    for (std::size_t i = 0; i < n; ++i) row[i] = py(w, y[i]);
    return row;
  };
  draw_through(picture, column, rows_of(s.y));

  const LongModelCurves curves = long_model_curves(s);
  bool any = false;
  for (bool p : curves.present) any = any || p;
  if (any) {
    rt::picture_set_colour(picture, kSumColour);
    draw_through(picture, column, rows_of(curves.sum));
  }
  for (int k = 1; k <= kComponents; ++k) {
    if (!curves.present[static_cast<std::size_t>(k - 1)]) continue;
    rt::picture_set_colour(picture, component_colour(k));
    draw_through(picture, column, rows_of(curves.peaks[static_cast<std::size_t>(k - 1)]));
  }
}

}  // namespace app
