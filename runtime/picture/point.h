#pragma once

namespace rt {

// A point as the program gives it: pixels, x to the right, y downwards, origin top-left.
struct PointF {
  double x = 0;
  double y = 0;
  bool operator==(const PointF&) const = default;
};

}  // namespace rt
