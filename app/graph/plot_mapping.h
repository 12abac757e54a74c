#pragma once
// The value-to-pixel mapping of the graph and its inverse for the pointer. The plot area runs
// from (PLOTLEFT, PLOTTOP) to (PLOTLEFT + PLOTWIDTH, PLOTTOP + PLOTHEIGHT); the x axis runs from
// right (XMIN) to left (XMAX), the y axis upward. Nothing is clipped: a value outside the range
// maps outside the plot area.

#include <source_location>
#include <string>

#include "app/workspace/workspace.h"

namespace app {

// Pixel column and row of a value, as the single-precision coordinate that the drawing
// operations take (the picture rounds it). An empty x (y) range divides by zero: error 11, or
// error 5 when the value lies on the range's end too (0 / 0).
float px(const Workspace& w, double x,
         std::source_location where = std::source_location::current());
float py(const Workspace& w, double y,
         std::source_location where = std::source_location::current());

// The x and y value under the pointer at picture pixel (mx, my). Divides only by the plot
// area's size, so any range works, an empty one included.
double pointer_x(const Workspace& w, double mx);
double pointer_y(const Workspace& w, double my);

// How the "Position" fields show a value: truncated downward to two decimals (-1.234 shows as
// -1.24), as the trimmed double text.
std::string position_text(double value);

// Writes the pointer's x and y values into the "Position" fields EDIT9 and EDIT10.
void show_position(const Workspace& w, double mx, double my);

}  // namespace app
