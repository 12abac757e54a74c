#pragma once
// A raw spectrum, as an instrument writes it, made into the points the program fits: read the
// file (delimited text or VAMAS), keep the points within the x window, subtract a background.
// Independent of the windows: a batch run calls read_raw_spectrum() with its own settings.

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "app/files/spectrum_reader.h"
#include "app/files/tougaard_background.h"
#include "app/workspace/fit_state.h"

namespace app {

struct RawSettings {
  std::optional<double> from, to;    // the x window, its ends in either order; either may be open
  int end_points = 5;                // points averaged at each end for the background's levels
  bool shirley = true;               // false: a straight line between the two levels
  int block = 1;                     // the VAMAS block or .xy region, from 1
  std::string block_name;            // else the block or region of this name ("C 1s")
  bool tougaard = false;             // the Tougaard background, whatever `shirley` says
  std::optional<double> tougaard_b;  // empty: fitted to the high end
  TougaardKernel kernel;
  int low_offset = 0, high_offset = 0;  // points skipped inward before each end's average
  // A text file's x is kinetic energy and becomes binding energy, this less x; empty: the file
  // is in binding energy already. VAMAS files carry their own.
  std::optional<double> excitation_energy;
};

// The settings as the workspace records them with a load, and back.
RawLoadSettings raw_load_settings(const RawSettings& settings);
RawSettings raw_settings_of(const RawLoadSettings& load);

// A raw file's spectrum and how its background was found.
struct RawSpectrum {
  LoadedSpectrum spectrum;
  BackgroundRecord background;
  std::string block_name;  // the VAMAS block's or .xy region's name, where it has one
  // Every block or region of a VAMAS or .xy file, one row each: its number, name and energy
  // range ("2  O 1s  (525 – 540 eV)"); empty for a plain text file.
  std::vector<std::string> blocks;
};

// The largest raw file read, in bytes.
inline constexpr std::size_t kMaxRawFileBytes = std::size_t{32} << 20;

// Error 5 with a detail for settings that make no sense: from = to, fewer than 1 point at each
// end, a negative offset, a block below 1, a Tougaard B below 0, an excitation energy not above
// 0, a value that is not finite.
void check_raw_settings(const RawSettings& settings);

// The points of the file at `path` within the window, with the background subtracted (y - B),
// in file order, and their extents by the rules of the record load. Raises a run-time error
// with a detail that names the file (and its line, where there is one) for a file that cannot
// be read or holds no spectrum, an empty window or one of more than 100 000 points, offsets that
// leave too few points at an end, a background that cannot be found, and settings that make
// no sense (see check_raw_settings).
LoadedSpectrum read_raw_spectrum(const std::string& path, const RawSettings& settings);
RawSpectrum read_raw(const std::string& path, const RawSettings& settings);

// Reads the file as above and makes it the workspace's spectrum exactly as a record load
// does: XDATA, YDATA, LASTPOINT, the ranges, FILEPATH and "Target". A refused file changes
// nothing. Returns the file's rows of blocks (RawSpectrum::blocks).
std::vector<std::string> load_raw_spectrum(const std::string& path, const RawSettings& settings);

}  // namespace app
