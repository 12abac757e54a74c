#include "app/files/result_export.h"

#include "app/files/replacing_text_save.h"
#include "app/workspace/control_refs.h"
#include "app/workspace/counted_loop.h"
#include "app/workspace/peak_curves.h"
#include "app/workspace/workspace.h"
#include "runtime/convert/number_text.h"

namespace app {

std::vector<std::string> result_lines() {
  const Workspace& w = workspace();
  std::vector<std::string> lines;
  counted_loop(0, w.LASTPOINT, 1, [&](float counter) {
    const std::int32_t i = loop_index(counter);
    // Untrimmed: a value without a minus sign keeps the blank in front of it.
    std::string s = rt::single_text(w.XDATA.at(i));
    s += ',' + rt::single_text(w.YDATA.at(i));
    for (int k = 1; k <= 6; ++k) s += ',' + rt::single_text(peak_curve(w, k, i));
    s += ',' + rt::single_text(w.SUMCURVE.at(i));
    lines.push_back(std::move(s));
  });
  return lines;
}

void save_result_text(const std::string& path) { save_text_lines(path, result_lines()); }

}  // namespace app
