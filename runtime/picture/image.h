#pragma once
// An off-screen image: created without a bitmap, given a white one by set_size, filled by
// copying from a picture and saved as a BMP file.

#include <cstdint>
#include <source_location>
#include <string>

#include "runtime/errors/error_locations.h"
#include "runtime/picture/raster.h"

namespace rt {

class Image {
 public:
  Image() = default;

  bool has_bitmap() const { return has_bitmap_; }
  // Without a bitmap: an empty raster.
  const Raster& raster() const { return raster_; }

  // A white bitmap of w x h pixels (each rounded, halves away from zero), replacing any
  // earlier one. w or h below 1: error 5; a bitmap that cannot be had (beyond
  // kMaxRasterPixels, or no memory): error 7, and the image keeps what it had.
  void set_size(double w, double h, std::source_location where = std::source_location::current());

  // Copies width x height pixels from the top-left of `source` into the image at (x, y),
  // clipped to both. Negative width or height: error 5; no bitmap: error 1006.
  void copy_from(const Raster& source, double x, double y, double width, double height,
                 std::source_location where = std::source_location::current());

  // Writes the bitmap as a BMP file (errors of write_bmp_file); no bitmap: error 1006.
  void save_bmp(const std::string& path,
                std::source_location where = std::source_location::current()) const;

 private:
  // Error 1006 (at `no_bitmap`) while the image has no bitmap.
  void require_bitmap(LocationCode no_bitmap, std::source_location where) const;

  Raster raster_;
  bool has_bitmap_ = false;
};

}  // namespace rt
