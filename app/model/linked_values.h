#pragma once
// The constraint cells' links applied to the fields: each linked parameter of a present
// component takes its value from its source's (an offset, a ratio, or for a height linked on
// the area the height that gives the area ratio), sources before what follows them.

namespace app {

// Writes each linked value as the single's text (a field already showing that text keeps it,
// and any value kept behind it). A link with a tolerance keeps its present offset or ratio when
// that lies within the tolerance, else the nearest end. Bounds ("lo:hi") clamp their value.
// Returns whether any field changed.
bool apply_links();

}  // namespace app
