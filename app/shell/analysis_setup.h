#pragma once
// An analysis file as the set-up of a run over a series of spectra (the batch): its components,
// their full values and constraints, the fit's and the graph's settings, and how it loaded its
// spectrum, without the spectrum itself.

#include <string>

namespace app {

struct AnalysisSetup {
  bool raw = false;            // its spectrum was a raw load: load each spectrum raw
  bool weight_counts = false;  // its weighting choice
};

// Whether the file at `path` is an analysis file rather than a settings file (JSON, where a
// settings file starts with a check box's 0 or 1).
bool is_analysis_file(const std::string& path);

// Reads and checks the document at `path`, raising what "Open analysis..." raises for it.
void check_analysis_file(const std::string& path);

// Reads the document and puts its set-up into the current program.
AnalysisSetup apply_analysis_file_setup(const std::string& path);

}  // namespace app
