#pragma once
// Editing peaks by dragging them on the graph. A press finds a peak by the colour of the
// pixels around the pointer; the drag's effect goes into the peak table's fields at the
// release, followed by a full redraw. Peak locks are not consulted: a locked peak moves too.

#include <string>

#include "app/workspace/workspace.h"
#include "runtime/picture/colour.h"

namespace app {

// MOUSEMODE values: 0 no press, 1 marker drag; for slot k, 2k its curve away from the centre
// and 2k + 1 its centre.
inline constexpr float kNoPress = 0;
inline constexpr float kMarkerDrag = 1;

// What a press at picture pixel (mx, my) grabs, set into MOUSEMODE (left as it is when no peak
// pixel is found): scans the 11 x 11 pixels around the pointer, top row first and left to
// right in each row; every pixel in a peak colour sets the mode again, so the last one in that
// order decides. The centre is grabbed when the pointer lies less than 5 pixels to either side
// of that slot's centre column.
void hit_test(Workspace& w, float mx, float my);

// A press at picture pixel (mx, my): records where it happened and what it grabbed.
void record_press(Workspace& w, float mx, float my);
// During a marker drag, shows the pointer's values and leaves a black marker line at its
// column; otherwise nothing.
void follow_marker_drag(Workspace& w, float mx, float my);
// The marker line a marker drag leaves at its release, drawn over the redrawn graph.
void draw_release_marker(float mx);
// The release of a peak drag at (mx, my): moves the grabbed slot's centre and height, or
// changes its width, in the peak table's fields. Returns false when no peak was grabbed.
bool apply_peak_drag(Workspace& w, float mx, float my);

}  // namespace app
