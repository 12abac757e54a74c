#pragma once
// A spin-orbit doublet from one component: its partner at the splitting above it, with the
// area ratio of the orbital (p 1/2, d 2/3, f 3/4), the same width and asymmetry, all held by
// links so that a fit moves the pair together.

#include <string>
#include <vector>

namespace app {

struct DoubletRequest {
  std::string of;         // the component's letter; empty: the highest present component
  std::string line;       // a line of the table ("Ti 2p"), or an orbital ("p", "2p", "3d")
  std::string splitting;  // eV; empty: the line's from the table
  struct Row {
    std::string line, splitting;
  };
  std::vector<Row> table;
};

struct DoubletResult {
  int partner = 0;  // the new component's slot
  std::string why;  // not empty: refused, nothing changed
};

// The orbital's area ratio of the weaker line to the stronger: 2j+1 of each.
double doublet_area_ratio(char orbital);

// Fills the first absent slot as the partner and sets the links; refuses (and changes nothing)
// an absent or unknown component, a line that is neither in the table nor an orbital, a
// splitting that is not a positive number, or a full table.
DoubletResult make_doublet(const DoubletRequest& request);

}  // namespace app
