// Refine with components beyond the six and links: 20 components of which 5 doublets' partners
// follow their stronger lines (1001 points, Skip 1), and six components with three linked
// against the same six free. The solve with its deviations alone (refine_table), from the
// same start each time.

#include <benchmark/benchmark.h>

#include <cmath>
#include <string>
#include <vector>

#include "app/fit/refine.h"
#include "app/model/peak_profile.h"
#include "app/model/profile_derivatives.h"
#include "app/workspace/components.h"
#include "app/workspace/control_refs.h"
#include "app/workspace/peak_table.h"
#include "app/workspace/workspace.h"
#include "bench/six_peaks.h"
#include "runtime/convert/number_text.h"
#include "runtime/forms/control_values.h"

namespace {

struct Line {
  double centre, width, height;
  std::string rule_of;  // the source's letter for a doublet's partner, else empty
};

// Twenty lines 0.95 eV apart over 280-300 eV; the lines 1, 5, 9, 13 and 17 (A, E, I, M, Q)
// have their partners two places on (1.9 eV above, half the area, the same width), the other
// ten are singles: 20 components, 5 doublets.
std::vector<Line> twenty_lines() {
  std::vector<Line> lines;
  for (int j = 0; j < 20; ++j) lines.push_back({280.5 + 0.95 * j, 0.7, 600.0 + 40 * j, ""});
  for (int j = 0; j < 20; j += 4) {
    Line& partner = lines[static_cast<std::size_t>(j + 2)];
    const Line& source = lines[static_cast<std::size_t>(j)];
    partner.width = source.width;
    partner.height = source.height * 0.5;
    partner.rule_of = std::string(1, static_cast<char>('A' + j));
  }
  return lines;
}

// Six lines: A, B, C free, D, E, F the partners of A, B, C.
std::vector<Line> six_lines(bool linked) {
  std::vector<Line> lines = {{282, 1.5, 1000, ""}, {286, 1.7, 1400, ""}, {291, 1.2, 800, ""}};
  for (int i = 0; i < 3; ++i)
    lines.push_back({lines[static_cast<std::size_t>(i)].centre + 2.5,
                     lines[static_cast<std::size_t>(i)].width,
                     lines[static_cast<std::size_t>(i)].height * 0.5,
                     linked ? std::string(1, static_cast<char>('A' + i)) : ""});
  return lines;
}

void load_truth(const std::vector<Line>& lines) {
  six_peaks::start_with_spectrum();
  app::Workspace& w = app::workspace();
  const app::ProfileConstants k = app::ProfileConstants::for_mix(w.MIXRATIO);
  for (int i = 0; i < six_peaks::kPoints; ++i) {
    const double x = w.XDATA.at(i);
    double y = 5 * std::sin(i * 0.7);
    for (const Line& line : lines) {
      app::PeakShape s;
      s.centre = line.centre, s.width = line.width, s.height = line.height;
      y += app::profile_value(x, s, k);
    }
    w.YDATA.at(i) = static_cast<float>(y);
  }
}

// The table a little off the truth, the partners' links typed.
void place(const std::vector<Line>& lines) {
  for (std::size_t j = 0; j < lines.size(); ++j) {
    const int k = static_cast<int>(j) + 1;
    const Line& line = lines[j];
    const double shift = (j % 2 == 0 ? 0.15 : -0.12);
    rt::set_text(app::field_of(k, app::Param::Centre),
                 rt::trimmed_single_text(static_cast<float>(line.centre + shift)));
    rt::set_text(app::field_of(k, app::Param::Width),
                 rt::trimmed_single_text(static_cast<float>(line.width * 1.1)));
    rt::set_text(app::field_of(k, app::Param::Height),
                 rt::trimmed_single_text(static_cast<float>(line.height * 0.9)));
    for (app::Param p : {app::Param::Centre, app::Param::Width, app::Param::Height})
      rt::set_text(app::rule_field_of(k, p), "");
  }
  for (std::size_t j = 0; j < lines.size(); ++j) {
    const Line& line = lines[j];
    if (line.rule_of.empty()) continue;
    const int k = static_cast<int>(j) + 1;
    const int source = line.rule_of[0] - 'A';
    const double offset = line.centre - lines[static_cast<std::size_t>(source)].centre;
    app::set_constraint_text(k, app::Param::Centre,
                             line.rule_of + "+" + app::rule_number_text(offset));
    app::set_constraint_text(k, app::Param::Width, line.rule_of + "*1");
    app::set_constraint_text(k, app::Param::Height, "area=" + line.rule_of + "*0.5");
  }
  rt::set_text(app::EDIT(43), "1");
}

void refine_lines(benchmark::State& state, const std::vector<Line>& lines) {
  load_truth(lines);
  for (auto _ : state) {
    state.PauseTiming();
    place(lines);
    state.ResumeTiming();
    app::refine_table();
  }
}

void BM_RefineTwentyComponentsFiveDoublets(benchmark::State& state) {
  refine_lines(state, twenty_lines());
}

void BM_RefineSixComponents(benchmark::State& state) {
  refine_lines(state, six_lines(state.range(0) == 1));
}

}  // namespace

BENCHMARK(BM_RefineTwentyComponentsFiveDoublets)->Unit(benchmark::kMillisecond);
// Argument 1: D, E and F linked to A, B and C; 0: all six free.
BENCHMARK(BM_RefineSixComponents)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
