#pragma once

namespace app {

// Redraws the whole graph from the workspace: range, spectrum, model curves (CALC_FITLINE),
// sum and peaks, margins, frame, axes with their write-back, then NUMARRANGE.
void DRAWGRAPH();

}  // namespace app
