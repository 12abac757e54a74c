#pragma once
// "Save analysis..." and "Open analysis...": the whole session in one JSON document (the
// spectrum's source and how it was loaded, every component at full precision, the fit's and
// the graph's settings, the last fit), and back.

#include <string>

#include "app/files/analysis_document.h"

namespace app {

// The session as it stands, for a document to be written at `document_path` (the spectrum's
// path is written relative to its folder). A spectrum whose file is not known (an "Open" was
// cancelled after it was loaded) is error 5: the document could not bring it back.
AnalysisDocument capture_analysis(const std::string& document_path);

// Writes the session to `path` like every other save (a temporary file, then a rename).
void save_analysis(const std::string& path);
// The save dialog on the main window, then save_analysis.
void save_analysis_as();

// Reads and checks the document at `path` (see parse_analysis).
AnalysisDocument read_analysis_file(const std::string& path);

// Takes up the session of the document at `path`: the spectrum is loaded again from its source
// the way it was (a record, or raw with the same window, background and block), then every
// value is put back. Everything is read and checked first: a damaged document, one of a later
// version, a value of the wrong type or out of its range, a spectrum that is missing, refused
// or holds another number of points raise their error naming the file, and nothing changes.
// No redraw.
void open_analysis(const std::string& path);
// The open dialog on the main window, then open_analysis; false after a cancel, which changes
// nothing.
bool open_analysis_from_chosen_file();

// The set-up alone, for a series of spectra: every component with its full values, locks,
// names and constraints, the mixing ratio, Skip, "Fit background with peaks", the graph
// settings and, for a raw source, the "Raw spectrum" window's fields as the load had them.
// Neither the spectrum, the ratios, the weighting (a load sets it) nor the fit.
void apply_analysis_setup(const AnalysisDocument& document);

}  // namespace app
