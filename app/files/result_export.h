#pragma once
// The result file: one line per spectrum point of x, y, the six peak curves and their sum.

#include <string>
#include <vector>

namespace app {

// The lines of the result file for the workspace as it stands: index 0 to LASTPOINT (index 0
// also when LASTPOINT is -1), nine untrimmed number texts joined by ",". The curves are those
// of the last model computation.
std::vector<std::string> result_lines();

// Writes the result lines to `path` like every other save (a temporary file, then a rename).
void save_result_text(const std::string& path);

}  // namespace app
