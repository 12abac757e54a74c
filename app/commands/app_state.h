#pragma once
// The application's part of the program's state: each layer's part (the workspace's, the
// model's) and the undo history on top. The program (app/shell/program.h) holds one beside
// the run-time's state.

#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/model/model_part.h"
#include "runtime/picture/packed_raster.h"
#include "runtime/picture/picture.h"

namespace app {

// Everything one user action may change (undo_history.h).
struct UndoSnapshot {
  struct PictureSnapshot {
    std::shared_ptr<const rt::PackedRaster> pixels;  // shared by snapshots while unchanged
    rt::PictureSettings settings;
  };
  struct ControlSnapshot {
    std::string form, name;
    std::string text;
    int check = 0;
    std::optional<PictureSnapshot> picture;
  };
  std::shared_ptr<const Workspace> workspace;  // shared by snapshots while unchanged
  std::optional<FitRecord> fit;
  std::vector<std::string> fit_lines;  // how the fit compares: its report
  std::vector<ControlSnapshot> controls;
};

struct UndoHistory {
  bool enabled = true;
  std::optional<UndoSnapshot> last;  // what the program held after the last step
  std::deque<UndoSnapshot> undo, redo;
  bool dragging = false;
};

struct AppState final : ModelPart {
  UndoHistory undo;
};

// The current program's.
inline AppState& app_state() { return static_cast<AppState&>(*rt::state().program); }

}  // namespace app
