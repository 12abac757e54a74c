#pragma once

namespace app {

// The displayed range, chosen at the start of every draw. An axis whose "User range" box
// (CHECK1 for x, CHECK2 for y) is in state 1 takes its ends from the fields that are not empty
// (EDIT3 left = XMAX, EDIT4 right = XMIN; EDIT7 top = YMAX, EDIT6 bottom = YMIN); an empty field
// keeps that end as it was. In any other state the axis shows the loaded data's extent.
void select_range();

}  // namespace app
