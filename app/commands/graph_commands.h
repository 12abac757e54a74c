#pragma once
// The commands of the graph: redraws, the range fields and editing peaks with the mouse.

namespace app {

// "Re DRAW" on the graph-setting window and "Redraw" on the peak-setting window: redraw the
// graph with the ranges and steps the fields hold now.
void BUTTON2_ON();
void BUTTON29_ON();

// "Clear": empties the range and step fields of each axis whose "User range" box is clear
// (state 0). Such fields are not read by the graph and the next draw fills them again, so the
// graph does not change; an axis whose box is ticked keeps what the user typed.
void BUTTON26_ON();

// Editing peaks by dragging them on the graph. A press finds a peak by the colour of the pixels
// around the pointer; the drag's effect goes into the peak table's fields at the release,
// followed by a full redraw. Peak locks are not consulted: a locked peak moves too.
// A press: records where it happened and what it grabbed.
void PICTURE1_MOUSEDOWN();
// During a marker drag, shows the pointer's values and leaves a black marker line at its
// column; otherwise nothing.
void PICTURE1_MOUSEMOVE();
// Shows the pointer's values, applies the drag, redraws, and ends the press.
void PICTURE1_MOUSEUP();

// Fit > "Fit view": opens the fit view window (again, if it was closed) or brings it forward.
void FITVIEW_ON();
// Fit > "Save figure...": the fit view as an SVG or PNG file.
void SAVEFIGURE_ON();

}  // namespace app
