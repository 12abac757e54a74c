#include "runtime/picture/raster.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <new>

#include "runtime/convert/integer_rules.h"
#include "runtime/errors/error_locations.h"
#include "runtime/errors/runtime_error.h"

namespace rt {

Raster::Raster(std::int32_t width, std::int32_t height, Colour fill, std::source_location where) {
  allocate(width, height, &fill, where);
}

Raster::Raster(std::int32_t width, std::int32_t height, UnsetPixels, std::source_location where) {
  allocate(width, height, nullptr, where);
}

void Raster::allocate(std::int32_t width, std::int32_t height, const Colour* fill,
                      const std::source_location& where) {
  if (width < 0 || height < 0)
    raise_error(kInvalidArgument, location(RasterCheck::NegativeSize), where);
  const std::int64_t count = std::int64_t{width} * height;
  if (count > kMaxRasterPixels)
    raise_error(kOutOfMemory, location(RasterCheck::TooManyPixels), where);
  try {
    if (fill)
      pixels_.assign(static_cast<std::size_t>(count), *fill);
    else
      pixels_.resize(static_cast<std::size_t>(count));
  } catch (const std::bad_alloc&) {
    raise_error(kOutOfMemory, location(RasterCheck::NoMemory), where);
  }
  width_ = width;
  height_ = height;
}

void Raster::fill(Colour c) { std::fill(pixels_.begin(), pixels_.end(), c); }

void Raster::fill_rect(std::int64_t x0, std::int64_t y0, std::int64_t x1, std::int64_t y1,
                       Colour c) {
  if (x0 > x1) std::swap(x0, x1);
  if (y0 > y1) std::swap(y0, y1);
  x0 = std::max<std::int64_t>(x0, 0);
  y0 = std::max<std::int64_t>(y0, 0);
  x1 = std::min<std::int64_t>(x1, width_ - 1);
  y1 = std::min<std::int64_t>(y1, height_ - 1);
  if (x0 > x1 || y0 > y1) return;
  for (std::int64_t y = y0; y <= y1; ++y) {
    Colour* r = row(static_cast<std::int32_t>(y));
    std::fill(r + x0, r + x1 + 1, c);
  }
}

std::int32_t pixel_coordinate(double v, std::source_location where) {
  // Coordinates are integer arguments: halves away from zero, error 6 outside 32 bits.
  return nearest_int(v, where);
}

}  // namespace rt
