#pragma once
// A raw spectrum, as an instrument writes it, made into the points the program fits: read the
// file (delimited text or VAMAS), keep the points within the x window, subtract a background.
// Independent of the windows: a batch run calls read_raw_spectrum() with its own settings.

#include <cstddef>
#include <optional>
#include <string>

#include "app/files/spectrum_reader.h"

namespace app {

struct RawSettings {
  std::optional<double> from, to;  // the x window; either end may be open
  int end_points = 5;              // points averaged at each end for the background's levels
  bool shirley = true;             // false: a straight line between the two levels
  int block = 1;                   // the VAMAS block, from 1
};

// The largest raw file read, in bytes.
inline constexpr std::size_t kMaxRawFileBytes = std::size_t{32} << 20;

// Error 5 with a detail for settings that make no sense: from >= to, fewer than 1 point at each
// end, a block below 1.
void check_raw_settings(const RawSettings& settings);

// The points of the file at `path` within the window, with the background subtracted (y - B),
// in file order, and their extents by the rules of the record load. Raises a run-time error
// with a detail that names the file (and its line, where there is one) for a file that cannot
// be read or holds no spectrum, an empty window or one of more than 1001 points, and settings
// that make no sense (from >= to, fewer than 1 point at each end, a block below 1).
LoadedSpectrum read_raw_spectrum(const std::string& path, const RawSettings& settings);

// Reads the file as above and makes it the workspace's spectrum exactly as a record load
// does: XDATA, YDATA, LASTPOINT, the ranges, FILEPATH and "Target". A refused file changes
// nothing.
void load_raw_spectrum(const std::string& path, const RawSettings& settings);

}  // namespace app
