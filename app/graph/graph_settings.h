#pragma once

namespace app {

// "Re DRAW" on the graph-setting window and "Redraw" on the peak-setting window: redraw the
// graph with the ranges and steps the fields hold now.
void BUTTON2_ON();
void BUTTON29_ON();

// "Clear": empties the range and step fields of each axis whose "User range" box is clear
// (state 0). Such fields are not read by the graph and the next draw fills them again, so the
// graph does not change; an axis whose box is ticked keeps what the user typed.
void BUTTON26_ON();

}  // namespace app
