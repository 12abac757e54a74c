#pragma once
// The "Fit view" window (FORM8): the fit view of the current spectrum, redrawn with the graph.

#include <string>

#include "runtime/forms/objects.h"

namespace app {

// Draws the view into FORM8.PICTURE1 and its one-line state into FORM8.STATE, when the window
// is open; nothing otherwise.
void update_fit_view_window();

// Opens the window, or brings it forward when it is open, and draws the view.
void show_fit_view_window();

// How a figure is written, by the end of the file name: ".svg" (or any other) SVG, ".png" PNG
// at twice the view's size, ".4x.png" at four times.
enum class FigureFormat { kSvg, kPng2x, kPng4x };
FigureFormat figure_format(const std::string& path);

// Writes the view of the workspace as a figure to `path` (through a temporary file renamed
// over it). No spectrum loaded: error 5 and nothing is written.
void save_fit_view_figure(const std::string& path);

// "Save figure...": asks for the file (the filter chooses SVG or PNG) and writes it.
void export_fit_view_figure(rt::ObjRef owner);

}  // namespace app
