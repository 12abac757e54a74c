#include "app/commands/fit_commands.h"

#include "app/fit/calc_ratio.h"
#include "app/fit/fitting.h"
#include "app/graph/drawgraph.h"

namespace app {

void BUTTON1_ON() {
  fit_peaks();
  DRAWGRAPH();
  CALC_RATIO();
}

void BUTTON27_ON() { CALC_RATIO(); }

}  // namespace app
