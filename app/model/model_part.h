#pragma once
// The model layer's part of the program's state: the last fit, which the report, the exports
// and undo read.

#include <optional>

#include "app/model/fit_report.h"
#include "app/workspace/workspace_part.h"

namespace app {

struct ModelPart : WorkspacePart {
  std::optional<FitRecord> last_fit;
};

// The current program's.
inline ModelPart& model_part() { return static_cast<ModelPart&>(*rt::state().program); }

}  // namespace app
