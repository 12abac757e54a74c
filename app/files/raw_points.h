#pragma once
// The points a raw reader found in a file, before the window and the background.

#include <string>
#include <vector>

namespace app {

// In file order; line[i] is the file line that gave point i (for the messages).
struct RawPoints {
  std::vector<double> x, y;
  std::vector<int> line;
  // The block's or region's name where the file gives one ("C 1s"), for "Target".
  std::string name;
};

}  // namespace app
