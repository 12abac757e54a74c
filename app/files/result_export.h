#pragma once
// The result file: one line per spectrum point of x, y, the six peak curves and their sum.

#include <string>
#include <vector>

#include "runtime/forms/objects.h"

namespace app {

// The lines of the result file for the workspace as it stands: index 0 to LASTPOINT (index 0
// also when LASTPOINT is -1), nine untrimmed number texts joined by ",". The curves are those
// of the last model computation.
std::vector<std::string> result_lines();

// Asks for the file in a save dialog owned by `owner`, then writes the result lines there.
void export_result_text(rt::ObjRef owner);

}  // namespace app
