#include "runtime/picture/packed_raster.h"

#include <algorithm>

namespace rt {

PackedRaster::PackedRaster(const Raster& raster)
    : width_(raster.width()), height_(raster.height()) {
  const std::size_t n = static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_);
  const Colour* pixels = raster.data();
  for (std::size_t i = 0; i < n;) {
    std::size_t end = i + 1;
    while (end < n && pixels[end] == pixels[i]) ++end;
    runs_.push_back(Run{static_cast<std::uint32_t>(end - i), pixels[i]});
    i = end;
  }
}

Raster PackedRaster::unpack() const {
  Raster raster(width_, height_);
  Colour* out = raster.data();
  for (const Run& run : runs_) out = std::fill_n(out, run.count, run.colour);
  return raster;
}

bool PackedRaster::same_as(const Raster& raster) const {
  if (raster.width() != width_ || raster.height() != height_) return false;
  const Colour* pixels = raster.data();
  for (const Run& run : runs_) {
    for (std::uint32_t k = 0; k < run.count; ++k)
      if (pixels[k] != run.colour) return false;
    pixels += run.count;
  }
  return true;
}

}  // namespace rt
