#include "app/fit/calc_ratio.h"

#include <algorithm>
#include <string>

#include "app/model/long_curves.h"
#include "app/workspace/components.h"
#include "app/workspace/control_refs.h"
#include "app/workspace/counted_loop.h"
#include "app/workspace/peak_curves.h"
#include "app/workspace/peak_table.h"
#include "app/workspace/spectrum_points.h"
#include "app/workspace/workspace.h"
#include "runtime/convert/arithmetic.h"
#include "runtime/convert/integer_rules.h"
#include "runtime/convert/number_text.h"
#include "runtime/dialogs/clipboard.h"
#include "runtime/forms/control_values.h"

namespace app {
namespace {

// Shares of the clipboard line: each ratio field, "0.00" for an empty one, then the total.
// Components beyond the six add their shares after the six, up to the highest present.
std::string ratio_line(int last) {
  std::string line;
  for (int k = 1; k <= last; ++k) {
    const std::string text = rt::get_text(ratio_field_of(k));
    line += text.empty() ? "0.00" : text;
    line += ',';
  }
  const std::string total = rt::get_text(EDIT(42));
  line += total.empty() ? "0.00" : total;
  return line;
}

// The TAB form starts with a TAB; the comma form has no leading delimiter.
std::string with_tabs(const std::string& line) {
  std::string out = "\t";
  for (char c : line) out += c == ',' ? '\t' : c;
  return out;
}

}  // namespace

void CALC_RATIO() {
  const Workspace& w = workspace();
  const int last = std::max(kSlots, component_count());
  float area[kComponents] = {};
  if (const LongSpectrum* long_points = long_spectrum()) {
    // A survey's areas are summed in double: a single running sum of 100 000 terms would lose
    // the small ones.
    const LongModelCurves curves = long_model_curves(*long_points);
    for (int k = 0; k < last; ++k) {
      double sum = 0;
      for (float v : curves.peaks[static_cast<std::size_t>(k)]) sum += v;
      area[k] = rt::to_single(sum);
    }
  } else {
    counted_loop(0, w.LASTPOINT, 1, [&](float counter) {
      const std::int32_t i = loop_index(counter);
      for (int k = 1; k <= last; ++k)
        area[k - 1] = rt::to_single(static_cast<double>(area[k - 1]) + peak_curve(w, k, i));
    });
  }
  const float total = sum_in_slot_order(area, last);
  if (!(total > 0)) return;

  float ratio[kComponents] = {};
  for (int k = 0; k < last; ++k)
    ratio[k] = rt::to_single(rt::floor_value(static_cast<double>(area[k]) / total * 10000) / 100);
  const float ratio_total = sum_in_slot_order(ratio, last);

  for (int k = last + 1; k <= kComponents; ++k) rt::set_text(ratio_field_of(k), "");
  for (int k = 1; k <= last; ++k) {
    std::string text;
    if (Present(k)) text = area[k - 1] > 0 ? rt::trimmed_single_text(ratio[k - 1]) : "0.00";
    rt::set_text(ratio_field_of(k), text);
  }
  rt::set_text(EDIT(42), rt::trimmed_single_text(ratio_total));

  sync_component_rows();
  std::string line = ratio_line(last);
  if (rt::get_check(CHECK(43)) == 1) line = with_tabs(line);
  rt::set_clipboard_text(line);
}

}  // namespace app
