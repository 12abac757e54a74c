#pragma once
// Figures of a drawing as files: SVG (vector: polylines, rectangles and text, from the same
// steps the picture is drawn from) and PNG (the drawing rasterized at a whole scale).

#include <cstdint>
#include <source_location>
#include <string>
#include <vector>

#include "runtime/picture/drawing.h"
#include "runtime/picture/raster.h"

namespace rt {

// The SVG document of the drawing, UTF-8. Coordinates are the steps' own; a group shifts them
// by half a pixel so that a one-pixel stroke covers the same pixels the raster does.
std::string svg_text(const Drawing& drawing);

// The PNG file of a raster (8-bit RGB, no interlace); no memory for it: error 7.
std::vector<std::uint8_t> png_bytes(const Raster& raster,
                                    std::source_location where = std::source_location::current());

// Creates or replaces the file at `path` with `bytes`. The file cannot be created: error 57;
// a write fails part-way: error 67. The system's error code is recorded before either.
void write_figure_file(const std::string& path, const void* bytes, std::size_t size,
                       std::source_location where = std::source_location::current());

}  // namespace rt
