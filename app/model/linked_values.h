#pragma once
// The constraint cells' links applied to the fields: each linked parameter of a present
// component takes its value from its source's (an offset, a ratio, or for a height linked on
// the area the height that gives the area ratio), sources before what follows them.

#include <vector>

#include "app/workspace/peak_table.h"

namespace app {

// One field apply_links() wrote, and the value its new text reads as.
struct LinkedWrite {
  int k;
  Param p;
  double value;
};

// Writes each linked value as the single's text (a field already showing that text keeps it,
// and any value kept behind it). A link with a tolerance keeps its present offset or ratio when
// that lies within the tolerance, else the nearest end. Bounds ("lo:hi") clamp their value.
// Returns the fields it changed, in the order written.
std::vector<LinkedWrite> apply_links();

}  // namespace app
