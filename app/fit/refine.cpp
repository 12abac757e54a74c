#include "app/fit/refine.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>
#include <string>

#include "app/fit/fit_uncertainty.h"
#include "app/fit/kai2.h"
#include "app/fit/table_model.h"
#include "app/model/fit_report.h"
#include "app/workspace/counted_loop.h"
#include "app/workspace/error_locations.h"
#include "app/workspace/peak_table.h"
#include "app/workspace/spectrum_points.h"
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
  // The background's parameters are unbounded, but for Tougaard's B, a loss rate.
  b.lower.assign(static_cast<std::size_t>(model.free_count()), -kInfinity);
  b.upper.assign(b.lower.size(), kInfinity);
  if (const auto& background = model.active_background();
      background && background->form == ActiveBackground::Form::Tougaard)
    b.lower[static_cast<std::size_t>(model.background_index()) + 1] = 0;
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
      // Typed bounds narrow the parameter's own.
      if (const auto& typed = model.slots()[s].bounds[static_cast<std::size_t>(p)]) {
        b.lower[u] = std::max(b.lower[u], (*typed)[0]);
        b.upper[u] = std::min(b.upper[u], (*typed)[1]);
        if (b.lower[u] > b.upper[u]) b.lower[u] = b.upper[u] = (*typed)[0];
      }
    }
  // A link's tolerance holds its offset or ratio within its band.
  for (std::size_t s = 0; s < model.slots().size(); ++s)
    for (FitParam p : kFitParams)
      if (const int i = model.link_index(s, p); i >= 0) {
        const SlotLink& link = *model.slots()[s].link[static_cast<std::size_t>(p)];
        b.lower[static_cast<std::size_t>(i)] = link.low;
        b.upper[static_cast<std::size_t>(i)] = link.high;
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

// 1 / sigma_i with sigma_i^2 = max(measured_i, 1) at every compared point: the counting
// variance of a count, with at least one count so that an empty channel still weighs finitely.
std::vector<double> counting_inverse_sigmas(const PeakModel& model, float skip) {
  const std::vector<std::optional<double>> measured = compared_measured_values(skip);
  std::vector<double> inverse(measured.size());
  for (std::size_t j = 0; j < measured.size(); ++j) {
    if (!measured[j])
      refuse(RefineCheck::NoMeasuredValues,
             "no measured values are kept with this spectrum, so it cannot be weighted by "
             "counting statistics. Turn off Fit > Weight by counting statistics.");
    const double m = measured[j].value_or(0);  // present: refused above otherwise
    if (!(m >= 0))
      refuse(RefineCheck::NegativeMeasured,
             "a measured value of " + number_text(m) + " (at x = " + number_text(model.x()[j]) +
                 ") is below 0: counting statistics need counts. Turn off Fit > Weight by "
                 "counting statistics, or load the spectrum as counts.");
    inverse[j] = 1 / std::sqrt(std::max(m, 1.0));
  }
  return inverse;
}

// The indices of the points the figure compares (every Skip-th), in its order.
std::vector<std::size_t> compared_indices(float skip) {
  std::vector<std::size_t> out;
  counted_loop(0, static_cast<float>(last_point()), skip, [&](float counter) {
    out.push_back(static_cast<std::size_t>(loop_index(counter)));
  });
  return out;
}

// The raw load's background as a form with free parameters, at every point of the spectrum
// (index order), started from the load's own result.
ActiveBackground background_at_all_points() {
  const Workspace& w = workspace();
  const auto& record = w.fit.background;
  const std::vector<double>& measured = w.fit.spectrum.measured;
  const auto n = static_cast<std::size_t>(point_count());
  if (!record || measured.size() != n)
    refuse(RefineCheck::NoBackgroundToFit,
           "Fit > Fit background with peaks needs a spectrum opened with Open raw spectrum "
           "(a record's background is fixed). Turn it off, or open the raw file.");
  std::vector<std::size_t> order(n);
  for (std::size_t i = 0; i < n; ++i) order[i] = i;
  std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
    return point_x(static_cast<std::int32_t>(a)) < point_x(static_cast<std::int32_t>(b));
  });
  const auto x_of = [&](std::size_t i) {
    return static_cast<double>(point_x(static_cast<std::int32_t>(i)));
  };
  const double lowest = x_of(order.front()), highest = x_of(order.back());
  ActiveBackground b;
  b.along.assign(n, 0.0);
  b.span.assign(n, 0.0);
  if (record->method == "tougaard") {
    if (record->tougaard_sums.size() != n || record->tougaard_unit_sums.size() != n)
      refuse(RefineCheck::NoBackgroundToFit,
             "the Tougaard background's sums do not match the spectrum. Open the raw file again.");
    b.form = ActiveBackground::Form::Tougaard;
    // The kernel sum of the measured values, from that of y - low and that of 1.
    for (std::size_t i = 0; i < n; ++i) {
      b.span[i] = record->tougaard_unit_sums[i];
      b.along[i] = record->tougaard_sums[i] + record->low_level * b.span[i];
    }
    b.values = {record->low_level, record->tougaard_b};
  } else if (record->method == "shirley") {
    b.form = ActiveBackground::Form::Shirley;
    // The integral of the measured values from the lowest x, by trapezoids.
    for (std::size_t k = 1; k < n; ++k) {
      const std::size_t i = order[k], before = order[k - 1];
      b.along[i] =
          b.along[before] + (measured[before] + measured[i]) / 2 * (x_of(i) - x_of(before));
    }
    for (std::size_t i = 0; i < n; ++i) b.span[i] = x_of(i) - lowest;
    // Started as the first Shirley step from the low level: k puts the background on the
    // high level at the highest x.
    const double c = record->low_level;
    const double whole = b.along[order.back()] - c * (highest - lowest);
    b.values = {c, whole != 0 ? (record->high_level - c) / whole : 0.0};
  } else {
    b.form = ActiveBackground::Form::Linear;
    for (std::size_t i = 0; i < n; ++i)
      b.along[i] = highest > lowest ? (x_of(i) - lowest) / (highest - lowest) : 0.0;
    b.values = {record->low_level, record->high_level};
  }
  return b;
}

// The same form at the compared points only.
ActiveBackground at_points(const ActiveBackground& all, const std::vector<std::size_t>& points) {
  ActiveBackground out = all;
  out.along.clear();
  out.span.clear();
  for (std::size_t i : points) {
    out.along.push_back(all.along[i]);
    out.span.push_back(all.span[i]);
  }
  return out;
}

// The fitted background becomes the spectrum's: the net values are the measured less it, so
// the graph, the ratios and the exports show what the fit found, and the record gives its
// levels or B.
void keep_fitted_background(ActiveBackground all, const std::vector<double>& fitted) {
  Workspace& w = workspace();
  if (!w.fit.background) return;  // refused before the solve
  all.values = fitted;
  const std::vector<double>& measured = w.fit.spectrum.measured;
  std::vector<float> net(measured.size());
  for (std::size_t i = 0; i < measured.size(); ++i) net[i] = rt::to_single(measured[i] - all.at(i));
  set_point_ys(net);
  BackgroundRecord& record = *w.fit.background;
  record.fitted_with_peaks = true;
  if (all.form == ActiveBackground::Form::Tougaard) {
    record.tougaard_b = fitted[1];
    record.tougaard_b_fitted = true;
  }
}

}  // namespace

void refine_table(const SolveLimits& limits) {
  if (last_point() < 1)
    refuse(RefineCheck::NoSpectrum, "no spectrum of two or more points is loaded.");
  const float skip = read_skip();
  if (!skip_usable(skip))
    refuse(RefineCheck::SkipNotUsable, "the Skip field must hold a number above 0.");
  PeakModel model = model_of_table(skip);
  check_table(model);
  std::optional<ActiveBackground> background;
  if (workspace().fit.active_background) {
    background = background_at_all_points();
    const std::vector<std::size_t> points = compared_indices(skip);
    std::vector<double> measured;
    for (std::size_t i : points) measured.push_back(workspace().fit.spectrum.measured[i]);
    model.set_active_background(at_points(*background, points), std::move(measured));
    if (model.point_count() <= static_cast<std::size_t>(model.free_count()))
      refuse(RefineCheck::TooFewPoints,
             "the fit compares " +
                 rt::decimal_text(static_cast<std::int64_t>(model.point_count())) +
                 " points, not more than the free parameters with the background's. Lower the "
                 "Skip or lock parameters.");
  }
  if (workspace().fit.weight_counts) model.set_inverse_sigmas(counting_inverse_sigmas(model, skip));
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
  if (outcome.status == SolveOutcome::Status::Unavailable)
    refuse(RefineCheck::SolverMissing, "the least-squares solver could not be loaded (" +
                                           outcome.message +
                                           "); nothing was changed. Reinstall the program.");
  if (changed)
    refuse(RefineCheck::TableChanged,
           "a field changed while the solver ran; nothing was written. Press Refine again.");
  if (outcome.status == SolveOutcome::Status::Failed ||
      outcome.status == SolveOutcome::Status::Aborted)
    refuse(RefineCheck::SolverFailed,
           "the least-squares solver failed (" + outcome.message + "); nothing was changed.");

  // The fields show the singles' texts; the full values stay behind them for every later
  // computation, so the report and the check describe those.
  const std::vector<double>& refined = outcome.values;
  const double rss_after = model.rss(refined.data());
  if (!std::isfinite(rss_after) || rss_after > rss_before)
    refuse(RefineCheck::EndedWorse,
           "the solver ended with a sum of squares of " + number_text(rss_after) + ", above the " +
               number_text(rss_before) + " it started from; nothing was changed.");

  FitRecord record;
  record.method = "refine";
  record.model = model.at(refined.data());
  record.window_x = spectrum_x();
  describe_components(record);
  // Counting statistics give each point its sigma, so the covariance needs no scale; without
  // them the residuals' own variance stands in for a common sigma.
  const double s2 =
      model.weighted()
          ? 1.0
          : rss_after / static_cast<double>(model.point_count() -
                                            static_cast<std::size_t>(model.free_count()));
  record.covariance = free_value_covariance(record.model, refined, s2);

  for (std::size_t s = 0; s < model.slots().size(); ++s)
    for (FitParam p : kFitParams) {
      const int i = model.index_of(s, p);
      const bool follows = model.slots()[s].link[static_cast<std::size_t>(p)].has_value();
      if (i < 0 && !follows) continue;
      // A linked parameter's value is its source's through the link, as the fit left it.
      const PeakShape& fitted = record.model.slots()[s].shape;
      const double value = i >= 0                  ? refined[static_cast<std::size_t>(i)]
                           : p == FitParam::Centre ? fitted.centre
                           : p == FitParam::Width  ? fitted.width
                                                   : fitted.height;
      KeepParameter(model.slots()[s].slot, table_param(p), value,
                    rt::trimmed_single_text(rt::to_single(value)));
    }
  if (background)
    keep_fitted_background(
        *background,
        std::vector<double>(refined.begin() + model.background_index(), refined.end()));
  record_fit(std::move(record));
}

}  // namespace app
