#pragma once
// The fit report as a CSV file (UTF-8; the layout of fit_report_lines).

#include <string>

#include "runtime/forms/objects.h"

namespace app {

// Writes the last fit's report to `path` like every other save (a temporary file, then a
// rename). With no fit yet: run-time error 5, and no file is written.
void save_fit_report(const std::string& path);

// The save dialog (CSV), then save_fit_report. With no fit yet it is refused before the
// dialog opens.
void export_fit_report(rt::ObjRef owner);

}  // namespace app
