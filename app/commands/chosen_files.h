#pragma once
// The dialog halves of the file commands: each asks for a file in its dialog, then hands the
// path to the reader or writer of app/files. A cancel loads and saves nothing.

#include "runtime/forms/objects.h"

namespace app {

// A spectrum chosen in the open dialog; a cancel leaves the cancel mark in FILEPATH.
void load_chosen_spectrum();

// The settings file, in dialogs on the peak-setting window: "Load" reads the chosen file,
// "Save" writes the controls as they stand.
void load_settings_from_chosen_file();
void save_settings_as();

// The result lines, in a save dialog owned by `owner`.
void export_result_text(rt::ObjRef owner);

// The graph as it was last drawn (copied before the dialog opens), as a BMP file chosen in a
// save dialog owned by `owner`.
void export_graph_image(rt::ObjRef owner);

// The fit report (CSV). With no fit yet it is refused before the dialog opens.
void export_fit_report(rt::ObjRef owner);

}  // namespace app
