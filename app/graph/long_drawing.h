#pragma once
// The graph of a long spectrum. A survey has far more points than the plot has pixel columns,
// so each curve is drawn through the few points that decide its pixels: in each run of
// consecutive points on one pixel column, the first, the lowest, the highest and the last.
// The segments between consecutive points of a run are vertical runs of that column, whose
// union is the run from the lowest to the highest, so the pixels are those of every segment.

#include <cstddef>
#include <vector>

#include "app/workspace/long_spectrum.h"
#include "app/workspace/workspace.h"
#include "runtime/forms/objects.h"

namespace app {

// The indices of the points to join, in index order, for points at pixel coordinates
// (column[i], row[i]). A point whose coordinates are not numbers, or lie beyond the pixel
// range, stays a run of its own, so the drawing meets it as it would the whole line.
std::vector<std::size_t> deciding_points(const std::vector<float>& column,
                                         const std::vector<float>& row);

// The spectrum, the sum (when a slot is present) and each present peak over it, in DRAWGRAPH's
// colours and order.
void draw_long_curves(Workspace& w, rt::ObjRef picture, const LongSpectrum& s);

}  // namespace app
