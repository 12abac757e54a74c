#pragma once
// A raster kept compactly, as runs of one colour: a graph is mostly white, so a drawing that
// takes 1.7 MB as pixels takes a few kilobytes as runs. The undo history keeps its pictures
// this way.

#include <cstdint>
#include <utility>
#include <vector>

#include "runtime/picture/raster.h"

namespace rt {

class PackedRaster {
 public:
  PackedRaster() = default;
  explicit PackedRaster(const Raster& raster);

  Raster unpack() const;
  // Whether the raster holds exactly these pixels, without unpacking.
  bool same_as(const Raster& raster) const;
  std::size_t bytes() const { return runs_.size() * sizeof(Run); }

 private:
  struct Run {
    std::uint32_t count;
    Colour colour;
  };
  std::int32_t width_ = 0, height_ = 0;
  std::vector<Run> runs_;
};

}  // namespace rt
