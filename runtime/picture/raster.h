#pragma once
// A picture's or image's stored drawing: width x height exact colours, row-major, top row
// first. The desktop paints it, the BMP writer writes it and pixel reads come from it.

#include <cstdint>
#include <memory>
#include <new>
#include <source_location>
#include <utility>
#include <vector>

#include "runtime/picture/colour.h"

namespace rt {

// The largest bitmap the run-time allocates (1 GiB of colours); beyond it error 7, so that an
// absurd size fails cleanly instead of exhausting the machine.
inline constexpr std::int64_t kMaxRasterPixels = std::int64_t{1} << 28;

// Asks a Raster constructor to leave the pixels unset, for a caller that fills them before
// anything reads them: the memory is then not written twice.
struct UnsetPixels {};

class Raster {
 public:
  Raster() = default;
  // Negative width or height: error 5; more than kMaxRasterPixels pixels, or no memory for
  // them: error 7.
  Raster(std::int32_t width, std::int32_t height, Colour fill = kWhite,
         std::source_location where = std::source_location::current());
  Raster(std::int32_t width, std::int32_t height, UnsetPixels,
         std::source_location where = std::source_location::current());

  std::int32_t width() const { return width_; }
  std::int32_t height() const { return height_; }
  bool empty() const { return pixels_.empty(); }

  bool contains(std::int64_t x, std::int64_t y) const {
    return x >= 0 && y >= 0 && x < width_ && y < height_;
  }
  // kNoPixel outside the raster.
  Colour pixel(std::int64_t x, std::int64_t y) const {
    return contains(x, y) ? pixels_[index(x, y)] : kNoPixel;
  }
  // Outside the raster nothing happens.
  void set_pixel(std::int64_t x, std::int64_t y, Colour c) {
    if (contains(x, y)) pixels_[index(x, y)] = c;
  }

  void fill(Colour c);
  // All pixels from corner to corner inclusive, corners in any order, clipped to the raster.
  void fill_rect(std::int64_t x0, std::int64_t y0, std::int64_t x1, std::int64_t y1, Colour c);

  Colour* row(std::int32_t y) { return pixels_.data() + static_cast<std::size_t>(y) * width_; }
  const Colour* row(std::int32_t y) const {
    return pixels_.data() + static_cast<std::size_t>(y) * width_;
  }
  Colour* data() { return pixels_.data(); }
  const Colour* data() const { return pixels_.data(); }

  bool operator==(const Raster&) const = default;

 private:
  std::size_t index(std::int64_t x, std::int64_t y) const {
    return static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) +
           static_cast<std::size_t>(x);
  }

  // Value-initialises only when asked to (a colour given), so that UnsetPixels costs nothing.
  template <class T>
  struct DefaultInitAllocator : std::allocator<T> {
    template <class U>
    struct rebind {
      using other = DefaultInitAllocator<U>;
    };
    DefaultInitAllocator() = default;
    template <class U>
    DefaultInitAllocator(const DefaultInitAllocator<U>&) noexcept {
    }  // NOLINT(google-explicit-constructor)
    template <class U>
    void construct(U* p) noexcept {
      ::new (static_cast<void*>(p)) U;
    }
    template <class U, class... Args>
    void construct(U* p, Args&&... args) {
      ::new (static_cast<void*>(p)) U(std::forward<Args>(args)...);
    }
  };

  void allocate(std::int32_t width, std::int32_t height, const Colour* fill,
                const std::source_location& where);

  std::int32_t width_ = 0;
  std::int32_t height_ = 0;
  std::vector<Colour, DefaultInitAllocator<Colour>> pixels_;
};

// A coordinate or size given by the program as a number: the nearest integer, halves away
// from zero (2.5 gives 3, -2.5 gives -3); outside the 32-bit range, or not a number: error 6.
std::int32_t pixel_coordinate(double v,
                              std::source_location where = std::source_location::current());

}  // namespace rt
