#include "app/fit/fitting.h"

#include <algorithm>
#include <array>
#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "app/fit/grid_scan.h"
#include "app/fit/kai2.h"
#include "app/fit/sweep_engine.h"
#include "app/fit/table_model.h"
#include "app/model/fit_report.h"
#include "app/model/linked_values.h"
#include "app/workspace/components.h"
#include "app/workspace/counted_loop.h"
#include "app/workspace/error_locations.h"
#include "app/workspace/peak_table.h"
#include "app/workspace/spectrum_points.h"
#include "app/workspace/workspace.h"
#include "runtime/convert/arithmetic.h"
#include "runtime/convert/number_text.h"
#include "runtime/convert/text_to_number.h"
#include "runtime/errors/runtime_error.h"
#include "runtime/forms/control_values.h"
#include "runtime/forms/events.h"
#include "runtime/forms/statement_pump.h"

namespace app {
namespace {

constexpr Param kScanned[] = {Param::Centre, Param::Width, Param::Height};

// Error 5 for a Skip that no sweep can use, typed before the press or during it.
void refuse_unusable_skip() {
  if (!skip_usable(read_skip()))
    rt::raise_error(rt::kInvalidArgument, location(FitCheck::SkipNotUsable));
}

class PeakFieldSnapshot {
 public:
  PeakFieldSnapshot() : kept_(workspace().fit.kept), last_(std::max(kSlots, component_count())) {
    for (int k = 1; k <= last_; ++k)
      for (int p = 0; p < 4; ++p) texts_[k - 1][p] = rt::get_text(field_of(k, kRestored[p]));
  }
  void restore() const {
    for (int k = 1; k <= last_; ++k)
      for (int p = 0; p < 4; ++p) rt::set_text(field_of(k, kRestored[p]), texts_[k - 1][p]);
    workspace().fit.kept = kept_;
  }

 private:
  // The coefficient too: a link may have written it.
  static constexpr Param kRestored[] = {Param::Centre, Param::Width, Param::Height, Param::Alpha};
  std::array<std::array<std::string, 4>, kComponents> texts_;
  KeptPeakValues kept_;
  int last_;
};

class Sweep {
 public:
  void run() {
    const rt::StatementPumpHold hold;  // the sweep pumps between its trials instead
    // With links, every trial moves what follows the scanned parameter too: the figure is then
    // the plain one over the fields as the links leave them.
    links_ = any_constraint();
    if (links_) follow_links();
    const int last = std::max(kSlots, component_count());
    for (int k = 1; k <= last; ++k) {
      if (!Present(k)) continue;
      // Every scan variable is a single, the start value u included: "256.2" and "256.20000"
      // read as the same single, so they start the same grid.
      if (scanned(k, Param::Height)) {
        for (float s : {1000.0f, 100.0f, 10.0f, 1.0f}) {
          const float u = rt::to_single(Parameter(k, Param::Height));
          float best =
              scan(k, Param::Height, rt::to_single(u - 5.0 * s), rt::to_single(u + 5.0 * s), s);
          if (best < 0) best = 0;
          write_result(k, Param::Height, best);
        }
      }
      if (scanned(k, Param::Centre)) {
        const float u = rt::to_single(Parameter(k, Param::Centre));
        write_result(k, Param::Centre,
                     scan(k, Param::Centre, rt::to_single(u - 0.5), rt::to_single(u + 0.5), 0.01f));
      }
      if (scanned(k, Param::Width)) {
        const float u = rt::to_single(Parameter(k, Param::Width));
        float best = scan(k, Param::Width, rt::to_single(u - 0.5), rt::to_single(u + 0.5), 0.05f);
        if (best < 1.2f) best = 1.2f;
        write_result(k, Param::Width, best);
      }
    }
  }

 private:
  // A linked parameter follows its source and is never scanned itself.
  bool scanned(int k, Param p) const { return !Locked(k, p) && !(links_ && linked(k, p)); }

  // A trial outside a parameter's bounds never wins.
  static bool within_bounds(int k, Param p, double value) {
    const ConstraintRule rule = constraint_rule(k, p);
    return rule.kind != RuleKind::Bounds || (value >= rule.low && value <= rule.high);
  }

  // The trial's text is in its field: what follows it is set from it, the engine told so,
  // and the figure is the engine's over the fields as they now stand.
  float linked_figure(int k, Param p, double value) {
    follow_links();
    if (!within_bounds(k, p, value)) return std::numeric_limits<float>::max();
    return engine_.figure(k, p, value);
  }

  void follow_links() {
    for (const LinkedWrite& w : apply_links()) engine_.set_parameter(w.k, w.p, w.value);
  }

  float scan(int k, Param p, float start, float limit, float step) {
    // Every trial's text and the value it reads back as, in grid order. (A grid that never
    // passes its limit stops listing where it sticks; grid_scan then refuses it.)
    std::vector<std::string> texts;
    std::vector<double> values;
    counted_loop(start, limit, step, [&](float t) {
      // Widths below 0.2 are tried as 0.2; the scan still records the trial itself.
      const float written = (p == Param::Width && t < 0.2f) ? 0.2f : t;
      texts.push_back(rt::trimmed_single_text(written));
      values.push_back(rt::val(texts.back()));
    });
    const std::vector<std::optional<float>> ahead =
        links_ ? std::vector<std::optional<float>>(values.size()) : engine_.figures(k, p, values);
    // The sweep's own writes replace a value a fit kept behind this field.
    forget_kept_value(k, p);
    std::size_t i = 0;
    bool fields_as_seen = true;  // no field changed since the figures ahead were computed
    return grid_scan(start, limit, step, [&](float) {
      rt::set_text(field_of(k, p), texts[i]);
      const float f = links_                       ? linked_figure(k, p, values[i])
                      : fields_as_seen && ahead[i] ? *ahead[i]
                                                   : engine_.figure(k, p, values[i]);
      ++i;
      if (pump()) fields_as_seen = false;
      return f;
    });
  }

  void write_result(int k, Param p, float value) {
    if (links_) {
      const ConstraintRule rule = constraint_rule(k, p);
      if (rule.kind == RuleKind::Bounds)
        value = static_cast<float>(std::clamp<double>(value, rule.low, rule.high));
    }
    const std::string text = rt::trimmed_single_text(value);
    rt::set_text(field_of(k, p), text);
    engine_.set_parameter(k, p, rt::val(text));
    if (links_) follow_links();
  }

  // The windows repaint during a long sweep; a field the user changed meanwhile is read again,
  // and a Skip typed meanwhile is refused as one typed before the press. Returns whether the
  // user changed anything.
  bool pump() {
    const std::uint64_t before = rt::user_change_count();
    rt::pump();
    if (rt::user_change_count() == before) return false;
    refuse_unusable_skip();
    engine_.mark_stale();
    return true;
  }

  SweepEngine engine_;
  bool links_ = false;
};

}  // namespace

void fitting_sweep() { Sweep().run(); }

void fit_peaks() {
  // The sweep works on the arrays, which hold at most 1001 points; a survey is refined instead.
  if (long_spectrum()) rt::raise_error(rt::kSubscriptOutOfRange, location(FitCheck::LongSpectrum));
  refuse_unusable_skip();
  const PeakFieldSnapshot before;
  try {
    fitting_sweep();
  } catch (const rt::RuntimeError&) {
    before.restore();
    throw;
  }
  // The report describes the fitted values before the redraw rounds their fields.
  record_fitting_result();
}

void record_fitting_result() {
  try {
    const float skip = read_skip();
    if (!skip_usable(skip)) {
      forget_fit();
      return;
    }
    FitRecord record;
    record.method = "fitting";
    record.model = model_of_table(skip);
    record.window_x = spectrum_x();
    describe_components(record);
    record_fit(std::move(record));
  } catch (const rt::RuntimeError&) {
    forget_fit();
  }
}

}  // namespace app
