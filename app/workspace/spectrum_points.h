#pragma once
// The loaded spectrum's points wherever the load put them: the workspace's arrays (at most
// 1001 points) or a long spectrum's own storage. For the code beyond the arrays' own paths
// (Refine, the fit view, the report), which works on spectra of any length.

#include <cstdint>

#include "app/workspace/long_spectrum.h"

namespace app {

// The long spectrum, or null when the arrays hold the spectrum.
const LongSpectrum* long_spectrum();

// The index of the last point: LASTPOINT, or the long spectrum's.
std::int32_t last_point();
// The number of points (0 before a load and after a file without points).
std::int32_t point_count();

// Point i's x and net value (0 <= i <= last_point(); the arrays' bounds checks apply to them).
float point_x(std::int32_t i);
float point_y(std::int32_t i);

// Replaces every net value, in index order (as many as there are points).
void set_point_ys(const std::vector<float>& y);

}  // namespace app
