#include "runtime/picture/packed_raster.h"

#include <gtest/gtest.h>

namespace {

// A drawing of long white runs, short coloured ones and runs that cross row ends.
rt::Raster drawing(int w, int h) {
  rt::Raster r(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      if ((x * 7 + y * 3) % 11 == 0 || (y == 2 && x > w - 3) || (y == 3 && x < 2))
        r.set_pixel(x, y, static_cast<rt::Colour>(0x10000 * (x % 3) + y));
  return r;
}

TEST(PackedRaster, UnpacksToTheSamePixelsAndTellsAnyChangedPixel) {
  for (const auto& [w, h] : {std::pair{0, 0}, std::pair{1, 1}, std::pair{5, 1}, std::pair{17, 9}}) {
    SCOPED_TRACE(std::to_string(w) + " x " + std::to_string(h));
    const rt::Raster r = drawing(w, h);
    const rt::PackedRaster packed(r);
    EXPECT_TRUE(packed.unpack() == r);
    EXPECT_TRUE(packed.same_as(r));
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) {
        rt::Raster changed = r;
        changed.set_pixel(x, y, r.pixel(x, y) ^ 1);
        EXPECT_FALSE(packed.same_as(changed)) << x << ", " << y;
      }
    EXPECT_FALSE(packed.same_as(drawing(w + 1, h)));
  }
  // A white graph costs a run, not a picture.
  EXPECT_LE(rt::PackedRaster(rt::Raster(664, 648)).bytes(), 8u);
}

}  // namespace
