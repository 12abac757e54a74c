#pragma once
// Reading a spectrum's records from an open input channel into a buffer, so that nothing of
// the workspace changes until the whole file has been read.

#include <cstdint>
#include <vector>

#include "runtime/convert/arithmetic.h"

namespace app {

// The points of a spectrum file and their extents, as loading stores them.
struct LoadedSpectrum {
  std::vector<float> x, y;
  std::vector<double> measured;  // each point's value before its background was subtracted
  float xmin = 10000, xmax = 0, ymin = 10000;
  double ymax = 0;

  // Keeps the point (x, y rounded to single) and its measured value; the extents compare y
  // before it is rounded.
  void add(float px, double py, double measured_value) {
    measured.push_back(measured_value);
    x.push_back(px);
    y.push_back(rt::to_single(py));
    if (px > xmax) xmax = px;
    if (px < xmin) xmin = px;
    if (py > ymax) ymax = py;
    if (py < ymin) ymin = rt::to_single(py);
  }
  // A point that had no background subtracted.
  void add(float px, double py) { add(px, py, py); }
};

// The most points the workspace holds (YDATA has indices 0 to 1000).
inline constexpr std::int32_t kMaxPoints = 1001;

// Reads records of three numbers (x, measured value, background) from file number `channel`
// until the file is at its end before a record; keeps those with a background above 0 as
// (x, measured - background). Raises the channel's read errors (54, 58), and error 9 for a
// 1002nd accepted record.
LoadedSpectrum read_spectrum_records(int channel);

}  // namespace app
