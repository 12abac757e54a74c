#pragma once

#include <string>
#include <string_view>

namespace app {

// A peak field's text rounded to one decimal: VAL + 0.05, stored as a single, then truncated
// to tenths; always with a decimal point ("12.3", "12.0", "-1.3", ".5"). Because the sum is
// stored in single precision a second decimal of 5 does not always round up (1.25 gives 1.2,
// 12.35 gives 12.4).
std::string one_decimal_text(std::string_view field_text);

// Rounds every non-empty centre, height and width field of the peak table to one decimal, in
// that order of columns, slot 1 to 6 in each. The last step of every draw, so whatever reads
// the peak table after a redraw sees one decimal.
void NUMARRANGE();

}  // namespace app
