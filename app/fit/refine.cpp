#include "app/fit/refine.h"

#include <cmath>
#include <limits>
#include <string>

#include "app/fit/fit_uncertainty.h"
#include "app/fit/kai2.h"
#include "app/fit/table_model.h"
#include "app/model/fit_report.h"
#include "app/workspace/error_locations.h"
#include "app/workspace/peak_table.h"
#include "app/workspace/workspace.h"
#include "runtime/convert/arithmetic.h"
#include "runtime/convert/integer_text.h"
#include "runtime/convert/number_text.h"
#include "runtime/convert/text_to_number.h"
#include "runtime/errors/runtime_error.h"
#include "runtime/forms/control_values.h"
#include "runtime/forms/events.h"
#include "runtime/forms/objects.h"

namespace app {
namespace {

constexpr double kInfinity = std::numeric_limits<double>::infinity();

[[noreturn]] void refuse(RefineCheck check, std::string reason,
                         std::source_location where = std::source_location::current()) {
  rt::raise_error_with_detail(rt::kInvalidArgument, "Refine: " + std::move(reason), location(check),
                              where);
}

std::string number_text(double v) { return report_number(v); }

Param table_param(FitParam p) {
  switch (p) {
    case FitParam::Centre:
      return Param::Centre;
    case FitParam::Width:
      return Param::Width;
    case FitParam::Height:
      break;
  }
  return Param::Height;
}

constexpr FitParam kFitParams[] = {FitParam::Centre, FitParam::Width, FitParam::Height};

void check_table(const PeakModel& model) {
  if (model.slots().empty())
    refuse(RefineCheck::NoPeak, "no peak to refine: no slot has a centre.");
  const int p = model.free_count();
  if (p == 0)
    refuse(RefineCheck::NothingFree, "nothing is free: every parameter of every peak is locked.");
  if (model.point_count() <= static_cast<std::size_t>(p))
    refuse(RefineCheck::TooFewPoints,
           "the fit compares " + rt::decimal_text(static_cast<std::int64_t>(model.point_count())) +
               " points (every Skip-th), which is not more than the " + rt::decimal_text(p) +
               " free parameters. Lower the Skip or lock parameters.");
  for (std::size_t s = 0; s < model.slots().size(); ++s) {
    const ModelSlot& slot = model.slots()[s];
    if (!slot.free[static_cast<int>(FitParam::Width)] && slot.shape.width == 0)
      refuse(RefineCheck::LockedZeroWidth,
             "peak " + rt::decimal_text(slot.slot) +
                 " has a locked width of 0. Give it a width or unlock it.");
  }
}

struct Bounds {
  std::vector<double> lower, upper;
};

Bounds bounds_of(const PeakModel& model, const SpectrumExtent& e) {
  Bounds b;
  b.lower.resize(static_cast<std::size_t>(model.free_count()));
  b.upper.resize(b.lower.size());
  for (std::size_t s = 0; s < model.slots().size(); ++s)
    for (FitParam p : kFitParams) {
      const int i = model.index_of(s, p);
      if (i < 0) continue;
      const std::size_t u = static_cast<std::size_t>(i);
      switch (p) {
        case FitParam::Centre:
          b.lower[u] = e.x_min, b.upper[u] = e.x_max;
          break;
        case FitParam::Width:
          b.lower[u] = e.smallest_spacing / 2, b.upper[u] = e.x_max - e.x_min;
          break;
        case FitParam::Height:
          b.lower[u] = 0, b.upper[u] = kInfinity;
          break;
      }
    }
  return b;
}

// The start inside the bounds. A symmetric profile depends only on the width's size, so a
// negative width starts from its size rather than from the lower bound.
std::vector<double> feasible_start(const PeakModel& model, const Bounds& b) {
  std::vector<double> start = model.free_values();
  for (std::size_t s = 0; s < model.slots().size(); ++s) {
    const int i = model.index_of(s, FitParam::Width);
    if (i >= 0 && !model.slots()[s].shape.asymmetric)
      start[static_cast<std::size_t>(i)] = std::fabs(start[static_cast<std::size_t>(i)]);
  }
  for (std::size_t j = 0; j < start.size(); ++j) {
    if (!(start[j] >= b.lower[j])) start[j] = b.lower[j];  // NaN included
    if (start[j] > b.upper[j]) start[j] = b.upper[j];
  }
  return start;
}

}  // namespace

void refine_table(const SolveLimits& limits) {
  const Workspace& w = workspace();
  if (w.LASTPOINT < 1)
    refuse(RefineCheck::NoSpectrum, "no spectrum of two or more points is loaded.");
  const float skip = read_skip();
  if (!skip_usable(skip))
    refuse(RefineCheck::SkipNotUsable, "the Skip field must hold a number above 0.");
  const PeakModel model = model_of_table(skip);
  check_table(model);
  const SpectrumExtent extent = spectrum_extent();
  if (!(extent.smallest_spacing > 0))
    refuse(RefineCheck::NoSpread, "all points of the spectrum have the same x.");

  const Bounds bounds = bounds_of(model, extent);
  const std::vector<double> typed = model.free_values();
  const double rss_before = model.rss(typed.data());
  const std::vector<double> start = feasible_start(model, bounds);

  // The windows repaint between iterations; a field typed meanwhile would make the result
  // answer a table that no longer stands, so the solve stops.
  const std::uint64_t changes_before = rt::user_change_count();
  bool quit = false, changed = false;
  const std::function<bool()> between = [&] {
    try {
      rt::pump();
    } catch (const rt::QuitRequested&) {
      quit = true;
      return false;
    }
    changed = rt::user_change_count() != changes_before;
    return !changed;
  };
  const SolveOutcome outcome =
      solve_least_squares(model, start, bounds.lower, bounds.upper, limits, between);
  if (quit) throw rt::QuitRequested{};
  if (changed)
    refuse(RefineCheck::TableChanged,
           "a field changed while the solver ran; nothing was written. Press Refine again.");
  if (outcome.status == SolveOutcome::Status::Failed ||
      outcome.status == SolveOutcome::Status::Aborted)
    refuse(RefineCheck::SolverFailed,
           "the least-squares solver failed (" + outcome.message + "); nothing was changed.");

  // The values as their fields will read them back: the report and the check describe those.
  std::vector<std::string> texts(outcome.values.size());
  std::vector<double> written(outcome.values.size());
  for (std::size_t j = 0; j < texts.size(); ++j) {
    texts[j] = rt::trimmed_single_text(rt::to_single(outcome.values[j]));
    written[j] = rt::val(texts[j]);
  }
  const double rss_after = model.rss(written.data());
  if (!std::isfinite(rss_after) || rss_after > rss_before)
    refuse(RefineCheck::EndedWorse,
           "the solver ended with a sum of squares of " + number_text(rss_after) + ", above the " +
               number_text(rss_before) + " it started from; nothing was changed.");

  FitRecord record;
  record.method = "refine";
  record.model = model.at(written.data());
  const double s2 = rss_after / static_cast<double>(model.point_count() -
                                                    static_cast<std::size_t>(model.free_count()));
  record.covariance = free_value_covariance(record.model, written, s2);

  for (std::size_t s = 0; s < model.slots().size(); ++s)
    for (FitParam p : kFitParams) {
      const int i = model.index_of(s, p);
      if (i >= 0)
        rt::set_text(field_of(model.slots()[s].slot, table_param(p)),
                     texts[static_cast<std::size_t>(i)]);
    }
  record_fit(std::move(record));
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
    record_fit(std::move(record));
  } catch (const rt::RuntimeError&) {
    forget_fit();
  }
}

}  // namespace app
