#pragma once
// The fit report as a CSV file (UTF-8; the layout of fit_report_lines).

#include <string>

namespace app {

// Writes the last fit's report to `path` like every other save (a temporary file, then a
// rename). With no fit yet: run-time error 5, and no file is written.
void save_fit_report(const std::string& path);

// With no fit yet: run-time error 5, as before a save dialog opens for nothing to save.
void refuse_without_fit();

}  // namespace app
