#pragma once
// The ".xy" text export of photoelectron spectrometers: "# Key: value" comment lines, then
// each region's points as two columns (energy, counts). The file header's "Energy Axis" says
// whether x is kinetic or binding energy; each region has a "Region" name and may carry its
// "Excitation Energy". A region may hold several curves (cycles, scans) one after another.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/files/raw_points.h"

namespace app {

// Whether the bytes are such an export: its comment header, before any number, holds an
// "Energy Axis" or a "Region" line.
bool is_xy_export(std::string_view bytes);

struct XyRegion {
  std::string name;
  std::optional<double> excitation;  // the region's own, else the file header's
  RawPoints points;                  // its first curve, x as written
};

struct XyFile {
  bool kinetic = false;
  std::vector<XyRegion> regions;
};

// Every region of the file. Errors (58 unless said), each naming `file_name` and the line: an
// "Energy Axis" that is neither kinetic nor binding energy, an excitation energy or a data
// line that is no number, a value beyond single precision (6), no region with points at all.
XyFile read_xy_file(std::string_view bytes, const std::string& file_name);

// Region `region` (from 1) in binding energy: a kinetic-energy file's x becomes the
// excitation energy less x, with the region's excitation energy or else `excitation`. Error 5
// for a region the file does not have or one without points, or a kinetic file with no
// excitation energy, each naming the file and its regions.
RawPoints read_xy(std::string_view bytes, int region, std::optional<double> excitation,
                  const std::string& file_name);

// "1 C 1s (280 to 295 eV), 2 O 1s (525 to 540 eV)": the regions as the messages list them.
std::string xy_region_list(const XyFile& file);

}  // namespace app
