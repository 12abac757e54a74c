#pragma once
// The "Raw spectrum" window (FORM5): its start values, the settings its fields hold, and the
// load of a file chosen from it.

#include "app/files/raw_spectrum.h"
#include "runtime/forms/objects.h"

namespace app {

// Shows the window: a new one with its start values ("Shirley" checked, 5 points at each end,
// block 1) when none exists, else the one the user left.
void show_raw_window();

// The settings the window's fields hold. An empty "X from" or "X to" leaves that end open. A
// field that is no number, or no whole number of 1 or more where one is needed, or an x range
// that is empty, is error 5 naming the field.
RawSettings raw_settings_from_window();

// Reads the settings, asks for the file (the dialog owned by the window) and loads it; a
// cancel leaves the cancel mark in FILEPATH, as "Open" does. A refused file changes nothing.
void load_chosen_raw_spectrum();

// The window's control of that name ("EDIT1"), the window made first if there is none; and
// whether the window exists.
rt::ObjRef raw_window_control(const char* name);
bool raw_window_exists();

}  // namespace app
