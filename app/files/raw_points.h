#pragma once
// The points a raw reader found in a file, before the window and the background.

#include <vector>

namespace app {

// In file order; line[i] is the file line that gave point i (for the messages).
struct RawPoints {
  std::vector<double> x, y;
  std::vector<int> line;
};

}  // namespace app
