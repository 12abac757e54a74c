#pragma once

namespace app {

// Each present slot's share of the total peak area in percent (truncated to two decimals) into
// the ratio fields, their sum into "Total(%)", and the line of shares onto the clipboard, from
// the curves as the last model computation left them. A total area of 0 or below changes
// nothing.
void CALC_RATIO();

}  // namespace app
