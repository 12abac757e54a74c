#pragma once
// The start of the fit benchmarks: a 1001-point spectrum of six overlapping peaks (with a
// little ripple) and a peak table of six free peaks, each placed a little off the spectrum's.

#include <cmath>
#include <optional>

#include "app/shell/session.h"
#include "app/workspace/control_refs.h"
#include "app/workspace/peak_table.h"
#include "app/workspace/workspace.h"
#include "runtime/forms/control_values.h"
#include "runtime/forms/events.h"

namespace six_peaks {

constexpr int kPoints = 1001;
struct Peak {
  const char *centre, *width, *height;
};
// Six overlapping peaks, each placed a little off the spectrum's own.
constexpr Peak kTable[6] = {{"282.1", "1.4", "900"}, {"284.6", "1.8", "1500"},
                            {"286.9", "1.1", "700"}, {"289.2", "2.2", "1200"},
                            {"291.7", "1.6", "400"}, {"294.0", "1.3", "800"}};

inline void start_with_spectrum() {
  static std::optional<app::Session> session;
  session.reset();
  session.emplace();
  session->start();
  rt::run_pending_events();
  app::Workspace& w = app::workspace();
  const double centres[6] = {282, 284.5, 287, 289, 292, 294.2};
  const double widths[6] = {1.5, 1.7, 1.2, 2, 1.5, 1.4};
  const double heights[6] = {1000, 1400, 800, 1100, 500, 700};
  for (int i = 0; i < kPoints; ++i) {
    const double x = 300 - 0.02 * i;  // falling x, as spectra are usually listed
    double y = 5 * std::sin(i * 0.7);
    for (int k = 0; k < 6; ++k) {
      const double d = (x - centres[k]) / widths[k];
      y += heights[k] / (1 + 1.2 * d * d) * std::exp(-1.94 * d * d);
    }
    w.XDATA.at(i) = static_cast<float>(x);
    w.YDATA.at(i) = static_cast<float>(y);
  }
  w.LASTPOINT = kPoints - 1;
  w.XMIN = w.DATAXMIN = 280;
  w.XMAX = w.DATAXMAX = 300;
  w.YMIN = w.DATAYMIN = -10;
  w.YMAX = w.DATAYMAX = 1600;
}

inline void place_peaks(const char* skip) {
  for (int k = 1; k <= 6; ++k) {
    rt::set_text(app::field_of(k, app::Param::Centre), kTable[k - 1].centre);
    rt::set_text(app::field_of(k, app::Param::Width), kTable[k - 1].width);
    rt::set_text(app::field_of(k, app::Param::Height), kTable[k - 1].height);
  }
  rt::set_text(app::EDIT(43), skip);
}

}  // namespace six_peaks
