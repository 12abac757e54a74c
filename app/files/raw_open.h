#pragma once
// The "Raw spectrum" window: File > "Open raw spectrum..." shows it; its "Open..." asks for a
// file and loads it with the window's x range, end points, background and VAMAS block.

#include "app/files/raw_spectrum.h"

namespace app {

// File > "Open raw spectrum...": creates the window with its start values ("Shirley" checked,
// 5 points at each end, block 1), or shows it again as the user left it.
void OPENRAW_ON();

// The settings the window's fields hold. An empty "X from" or "X to" leaves that end open.
// A field that is no number, or no whole number where one is needed, is error 5 naming it.
RawSettings raw_settings_from_window();

// "Open..." (BUTTON1 of FORM5): reads the settings, asks for the file, loads it and redraws.
// Cancelling leaves the cancel mark in FILEPATH and redraws, as "Open" does; a refused file
// changes nothing and is not redrawn.
void open_raw_spectrum();

// Whether the running event is a press of FORM5's BUTTON1. Its event name is the same as that
// of "FITTING" (BUTTON1 of FORM2): the element that raised the event tells them apart.
bool event_from_raw_window();

}  // namespace app
