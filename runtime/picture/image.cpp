#include "runtime/picture/image.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "runtime/errors/error_locations.h"
#include "runtime/errors/runtime_error.h"
#include "runtime/picture/bmp_writer.h"

namespace rt {
namespace {

// A bitmap side: at least 1, and sides beyond the 32-bit range can only fail for want of
// memory, so they are error 7 rather than an overflow.
std::int32_t bitmap_side(double v, ImageSizeCheck below_one, ImageSizeCheck too_large,
                         std::source_location where) {
  const double r = std::round(v);
  if (!(r >= 1)) raise_error(kInvalidArgument, location(below_one), where);
  if (r > static_cast<double>(std::numeric_limits<std::int32_t>::max()))
    raise_error(kOutOfMemory, location(too_large), where);
  return static_cast<std::int32_t>(r);
}

}  // namespace

void Image::require_bitmap(LocationCode no_bitmap, std::source_location where) const {
  if (!has_bitmap_) raise_error(kWrongDrawingState, no_bitmap, where);
}

void Image::set_size(double w, double h, std::source_location where) {
  const std::int32_t width =
      bitmap_side(w, ImageSizeCheck::WidthBelowOne, ImageSizeCheck::WidthTooLarge, where);
  const std::int32_t height =
      bitmap_side(h, ImageSizeCheck::HeightBelowOne, ImageSizeCheck::HeightTooLarge, where);
  raster_ = Raster(width, height, kWhite, where);
  has_bitmap_ = true;
}

void Image::copy_from(const Raster& source, double x, double y, double width, double height,
                      std::source_location where) {
  require_bitmap(location(ImageCopyCheck::NoBitmap), where);
  const std::int64_t dx = pixel_coordinate(x, where);
  const std::int64_t dy = pixel_coordinate(y, where);
  const std::int64_t w = pixel_coordinate(width, where);
  const std::int64_t h = pixel_coordinate(height, where);
  if (w < 0 || h < 0) raise_error(kInvalidArgument, location(ImageCopyCheck::BadRegion), where);

  // Copying an image into itself reads from a snapshot, so overlapping rows stay intact.
  Raster snapshot;
  const Raster* from_raster = &source;
  if (&source == &raster_) {
    snapshot = source;
    from_raster = &snapshot;
  }

  // Source pixel (sx, sy) lands on (dx + sx, dy + sy); keep the sx, sy valid on both sides.
  const std::int64_t sx0 = std::max<std::int64_t>(0, -dx);
  const std::int64_t sy0 = std::max<std::int64_t>(0, -dy);
  const std::int64_t sx1 = std::min({w, std::int64_t{source.width()}, raster_.width() - dx});
  const std::int64_t sy1 = std::min({h, std::int64_t{source.height()}, raster_.height() - dy});
  if (sx0 >= sx1 || sy0 >= sy1) return;
  for (std::int64_t sy = sy0; sy < sy1; ++sy) {
    const Colour* from = from_raster->row(static_cast<std::int32_t>(sy));
    Colour* to = raster_.row(static_cast<std::int32_t>(dy + sy));
    std::copy(from + sx0, from + sx1, to + dx + sx0);
  }
}

void Image::save_bmp(const std::string& path, std::source_location where) const {
  require_bitmap(location(ImageSaveCheck::NoBitmap), where);
  write_bmp_file(raster_, path, where);
}

}  // namespace rt
