#pragma once
// The commands that open and save files: spectra, results, the graph image and the settings.

namespace app {

// Loads a spectrum chosen in the open dialog, then redraws (also after a cancel, which leaves
// the cancel mark in FILEPATH). A refused file is not redrawn.
void FILEOPEN();

// File > "Open" and the "OPEN" button.
void OPENFILE_ON();
void BUTTON3_ON();

// File > "Open raw spectrum...": shows the "Raw spectrum" window.
void OPENRAW_ON();

// "Open..." of the "Raw spectrum" window: loads a raw file with the window's settings, then
// redraws (also after a cancel). A refused file is not redrawn.
void open_raw_spectrum();

// "Collect": shifts the spectrum's x values and the displayed x range by the number in
// "X axis +", asks whether the peak centres move too, and redraws whatever the answer.
void BUTTON4_ON();

// Save > "Save results as text data" (dialog on the main window) and "export as TEXT" (dialog
// on the peak-setting window): the same file for the same workspace.
void SAVEASTEXT_ON();
void BUTTON28_ON();

// Save > "Save results as graphics " (dialog on the main window) and "export as IMAGE" (dialog
// on the peak-setting window).
void SAVEASGRAPHICS_ON();
void BUTTON24_ON();

// "Save" and "Load" of the settings file: all 56 items are read before any control changes; a
// short or unreadable file changes nothing.
void BUTTON22_ON();
void BUTTON23_ON();

// File > "Save analysis..." (the session as an analysis file) and "Open analysis..." (takes it
// up again, then redraws; a refused file changes nothing and a cancel redraws nothing).
void SAVEANALYSIS_ON();
void OPENANALYSIS_ON();

// Fit > "Save fit report..." and the report window's "Save...": the save dialog (CSV), then
// the last fit's report. With no fit yet it is refused before the dialog opens.
void SAVEREPORT_ON();

}  // namespace app
