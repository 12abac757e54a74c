#include "app/graph/fit_view.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <optional>

#include "app/graph/round_ticks.h"
#include "app/model/long_curves.h"
#include "app/workspace/components.h"
#include "app/workspace/peak_colours.h"
#include "app/workspace/peak_curves.h"
#include "app/workspace/peak_table.h"
#include "app/workspace/spectrum_points.h"
#include "app/workspace/workspace.h"
#include "runtime/convert/integer_text.h"

namespace app {
namespace {

using rt::DrawStep;
using rt::PointF;

constexpr rt::Colour kInk = 0x000000;
constexpr rt::Colour kBackgroundColour = 0x808080;  // grey
constexpr rt::Colour kEnvelopeColour = 0x0000FF;    // red, as the main graph's sum
constexpr rt::Colour kZeroLineColour = 0xC0C0C0;

constexpr int kLabelHeight = 12;
constexpr int kTitleHeight = 13;
constexpr double kTickLength = 4;

// The picture's parts for a width x height view; the margins hold the labels.
FitViewLayout frame_layout(int width, int height) {
  FitViewLayout l;
  const double right = width - 20;
  l.plot = {84, 26, right, height - 150.0};
  l.strip = {84, height - 128.0, right, height - 48.0};
  return l;
}

bool finite(double v) { return std::isfinite(v); }

std::string short_number(double v) {
  char buffer[32];
  const auto [end, ec] =
      std::to_chars(buffer, buffer + sizeof buffer, v, std::chars_format::general, 4);
  return ec == std::errc() ? std::string(buffer, end) : std::string("?");
}

DrawStep text_step(std::string text, double x, double top, rt::TextAnchor anchor,
                   rt::Colour colour = kInk, int height = kLabelHeight) {
  DrawStep s;
  s.kind = DrawStep::Kind::kText;
  s.colour = colour;
  s.points = {PointF{x, top}};
  s.text = std::move(text);
  s.text_height = height;
  s.anchor = anchor;
  return s;
}

DrawStep line_step(PointF a, PointF b, rt::Colour colour) {
  DrawStep s;
  s.kind = DrawStep::Kind::kPolyline;
  s.colour = colour;
  s.points = {a, b};
  return s;
}

DrawStep curve_step(const std::vector<double>& x, const std::vector<double>& y,
                    const FitViewLayout& l, const rt::ClipRect& clip, rt::Colour colour,
                    bool residual = false) {
  DrawStep s;
  s.kind = DrawStep::Kind::kPolyline;
  s.colour = colour;
  s.clip = clip;
  s.points.reserve(x.size());
  for (std::size_t i = 0; i < x.size() && i < y.size(); ++i) {
    const double vy = residual ? l.pr(y[i]) : l.py(y[i]);
    // A point that is not a number breaks the line; the renderers skip it.
    s.points.push_back(PointF{l.px(x[i]), finite(y[i]) ? vy : NAN});
  }
  return s;
}

DrawStep rectangle_step(const rt::ClipRect& r) {
  DrawStep s;
  s.kind = DrawStep::Kind::kRectangle;
  s.colour = kInk;
  s.points = {PointF{r.left, r.top}, PointF{r.right, r.bottom}};
  return s;
}

// The y extent of everything drawn on the plot, with a margin of 5 % above and below.
void intensity_range(const FitViewData& d, FitViewLayout& l) {
  double lo = INFINITY, hi = -INFINITY;
  const auto take = [&](double v) {
    if (!finite(v)) return;
    lo = std::min(lo, v);
    hi = std::max(hi, v);
  };
  for (std::size_t i = 0; i < d.x.size(); ++i) {
    take(d.measured[i]);
    take(d.background[i]);
    if (!d.sum.empty()) take(d.background[i] + d.sum[i]);
    for (const FitViewComponent& c : d.components) take(d.background[i] + c.y[i]);
  }
  if (!(hi >= lo)) lo = 0, hi = 1;
  if (!(hi > lo)) lo -= 1, hi += 1;
  const double pad = (hi - lo) * 0.05;
  l.y_low = lo - pad;
  l.y_high = hi + pad;
}

void x_range(const FitViewData& d, FitViewLayout& l) {
  double lo = INFINITY, hi = -INFINITY;
  for (double x : d.x)
    if (finite(x)) lo = std::min(lo, x), hi = std::max(hi, x);
  if (!(hi >= lo)) lo = 0, hi = 1;
  if (!(hi > lo)) lo -= 1, hi += 1;
  l.x_left = hi;  // binding energy falls to the right
  l.x_right = lo;
}

double label_width(const std::string& text) { return rt::text_width(text, kLabelHeight); }

void add_axes(FitView& v) {
  const FitViewLayout& l = v.layout;
  auto& steps = v.drawing.steps;
  // x: ticks under the strip and along the plot's bottom, labels under the strip.
  const AxisTicks xt = choose_ticks(l.x_right, l.x_left, l.plot.right - l.plot.left, 40, 10,
                                    [](const std::string& t) { return label_width(t); });
  for (std::size_t i = 0; i < xt.values.size(); ++i) {
    const double x = l.px(xt.values[i]);
    steps.push_back(line_step({x, l.strip.bottom}, {x, l.strip.bottom + kTickLength}, kInk));
    steps.push_back(line_step({x, l.plot.bottom}, {x, l.plot.bottom - kTickLength}, kInk));
    steps.push_back(
        text_step(xt.texts[i], x, l.strip.bottom + kTickLength + 2, rt::TextAnchor::kMiddle));
  }
  steps.push_back(text_step("Binding energy (eV)", (l.plot.left + l.plot.right) / 2,
                            l.strip.bottom + kTickLength + 4 + kLabelHeight + 6,
                            rt::TextAnchor::kMiddle, kInk, kTitleHeight));

  // y: labels right-aligned left of each frame, one text height plus a gap apart.
  const auto y_axis = [&](double lo, double hi, const rt::ClipRect& frame, auto&& map) {
    const AxisTicks yt = choose_ticks(lo, hi, frame.bottom - frame.top, 24, 4,
                                      [](const std::string&) { return kLabelHeight; });
    for (std::size_t i = 0; i < yt.values.size(); ++i) {
      const double y = map(yt.values[i]);
      steps.push_back(line_step({frame.left - kTickLength, y}, {frame.left, y}, kInk));
      steps.push_back(text_step(yt.texts[i], frame.left - kTickLength - 3, y - kLabelHeight / 2.0,
                                rt::TextAnchor::kEnd));
    }
  };
  y_axis(l.y_low, l.y_high, l.plot, [&](double y) { return l.py(y); });
  y_axis(-l.r_half, l.r_half, l.strip, [&](double r) { return l.pr(r); });
}

// "Intensity" over the y labels and, after it, each curve's name in its colour.
void add_legend(FitView& v, const FitViewData& d) {
  auto& steps = v.drawing.steps;
  const double top = 6;
  steps.push_back(text_step("Intensity", 4, top, rt::TextAnchor::kStart));
  std::vector<std::pair<std::string, rt::Colour>> names = {{"measured", kInk},
                                                           {"background", kBackgroundColour}};
  if (!d.sum.empty()) names.emplace_back("envelope", kEnvelopeColour);
  // Components beyond the six are named by their letters, "A" to "T", with less room
  // between: twenty "peak N" would run past the right edge.
  const bool letters = !d.components.empty() && d.components.back().slot > kSlots;
  for (const FitViewComponent& c : d.components)
    names.emplace_back(
        letters ? std::string(1, component_label(c.slot)) : "peak " + rt::decimal_text(c.slot),
        component_colour(c.slot));
  double x = v.layout.plot.left;
  for (const auto& [name, colour] : names) {
    steps.push_back(text_step(name, x, top, rt::TextAnchor::kStart, colour));
    x += label_width(name) + (letters ? 8 : 14);
  }
}

}  // namespace

double FitViewLayout::px(double x) const {
  return plot.left + (x_left - x) / (x_left - x_right) * (plot.right - plot.left);
}
double FitViewLayout::py(double y) const {
  return plot.bottom - (y - y_low) / (y_high - y_low) * (plot.bottom - plot.top);
}
double FitViewLayout::pr(double r) const {
  return (strip.top + strip.bottom) / 2 - r / (2 * r_half) * (strip.bottom - strip.top);
}

FitView build_fit_view(const FitViewData& in, int width, int height) {
  // Every per-point list as long as x, so that nothing below reads past an end.
  FitViewData d = in;
  const std::size_t n = d.x.size();
  d.measured.resize(n, NAN);
  d.background.resize(n, 0.0);
  if (!d.sum.empty()) d.sum.resize(n, 0.0);
  for (FitViewComponent& c : d.components) c.y.resize(n, 0.0);

  FitView v;
  v.drawing.width = width;
  v.drawing.height = height;
  v.layout = frame_layout(width, height);
  FitViewLayout& l = v.layout;
  x_range(d, l);
  intensity_range(d, l);

  // The residual against the envelope (the background alone when no component is present).
  double largest = 0, squares = 0;
  std::size_t counted = 0;
  v.residual.resize(n);
  for (std::size_t i = 0; i < n; ++i) {
    const double envelope = d.background[i] + (d.sum.empty() ? 0.0 : d.sum[i]);
    double r = d.measured[i] - envelope;
    if (d.counting_weights) r /= std::sqrt(std::max(d.measured[i], 1.0));
    v.residual[i] = r;
    if (!finite(r)) continue;
    largest = std::max(largest, std::fabs(r));
    squares += r * r;
    ++counted;
  }
  l.r_half = largest > 0 ? round_step_at_least(largest * 1.05) : 1;

  // Later steps cover earlier ones: the background over the components' tails, which lie on
  // it, so that it shows all along; the data over both; the envelope over the data.
  auto& steps = v.drawing.steps;
  std::vector<double> with_background(n);
  for (const FitViewComponent& c : d.components) {
    for (std::size_t i = 0; i < n; ++i) with_background[i] = d.background[i] + c.y[i];
    steps.push_back(curve_step(d.x, with_background, l, l.plot, component_colour(c.slot)));
  }
  steps.push_back(curve_step(d.x, d.background, l, l.plot, kBackgroundColour));
  DrawStep points;
  points.kind = DrawStep::Kind::kPoints;
  points.colour = kInk;
  points.clip = l.plot;
  for (std::size_t i = 0; i < n; ++i)
    points.points.push_back(
        PointF{l.px(d.x[i]), finite(d.measured[i]) ? l.py(d.measured[i]) : NAN});
  steps.push_back(std::move(points));
  if (!d.sum.empty()) {
    for (std::size_t i = 0; i < n; ++i) with_background[i] = d.background[i] + d.sum[i];
    steps.push_back(curve_step(d.x, with_background, l, l.plot, kEnvelopeColour));
  }

  const double zero = l.pr(0);
  steps.push_back(line_step({l.strip.left, zero}, {l.strip.right, zero}, kZeroLineColour));
  steps.push_back(curve_step(d.x, v.residual, l, l.strip, kInk, true));
  steps.push_back(rectangle_step(l.plot));
  steps.push_back(rectangle_step(l.strip));

  const std::string residual_name = d.counting_weights
                                        ? "Residual (measured - envelope) / counting sigma"
                                        : "Residual: measured - envelope (counts)";
  steps.push_back(text_step(residual_name, l.strip.left, l.strip.top - kLabelHeight - 4,
                            rt::TextAnchor::kStart));
  add_axes(v);
  add_legend(v, d);

  std::string components;
  for (const FitViewComponent& c : d.components)
    components += (components.empty() ? "" : ",") + rt::decimal_text(c.slot);
  const double rms = counted > 0 ? std::sqrt(squares / static_cast<double>(counted)) : 0;
  v.state = "points " + rt::decimal_text(static_cast<std::int64_t>(n)) + "; components " +
            (components.empty() ? std::string("none") : components) + "; residual " +
            (d.counting_weights ? "in counting sigmas" : "in counts") + "; rms " +
            short_number(rms) + "; largest " + short_number(largest);
  return v;
}

FitView empty_fit_view(int width, int height) {
  FitView v;
  v.drawing.width = width;
  v.drawing.height = height;
  v.layout = frame_layout(width, height);
  v.drawing.steps.push_back(rectangle_step(v.layout.plot));
  v.drawing.steps.push_back(rectangle_step(v.layout.strip));
  v.drawing.steps.push_back(text_step(
      "No spectrum: open one with File > Open", (v.layout.plot.left + v.layout.plot.right) / 2,
      (v.layout.plot.top + v.layout.plot.bottom) / 2, rt::TextAnchor::kMiddle, kInk, kTitleHeight));
  v.state = "no spectrum";
  return v;
}

FitViewData current_fit_view_data() {
  FitViewData d;
  const Workspace& w = workspace();
  const std::vector<double>& measured = w.fit.spectrum.measured;
  const int n = point_count();
  if (measured.empty() || n == 0) return d;  // nothing loaded yet
  // A long spectrum's curves are not in the arrays: they are computed for the view.
  std::optional<LongModelCurves> curves;
  if (const LongSpectrum* long_points = long_spectrum()) curves = long_model_curves(*long_points);
  d.counting_weights = w.fit.weight_counts;
  for (int k = 1; k <= std::max(kSlots, component_count()); ++k)
    if (Present(k)) d.components.push_back({k, {}});
  for (int i = 0; i < n; ++i) {
    const double net = point_y(i);
    // The background is what the load subtracted from the measured value; a point without
    // its measured value (none is, after a load) counts as measured over no background.
    const auto at = static_cast<std::size_t>(i);
    const double value = at < measured.size() ? measured[at] : net;
    d.x.push_back(point_x(i));
    d.measured.push_back(value);
    d.background.push_back(value - net);
    if (!d.components.empty()) d.sum.push_back(curves ? curves->sum[at] : w.SUMCURVE.at(i));
    for (FitViewComponent& c : d.components)
      c.y.push_back(curves ? curves->peaks[static_cast<std::size_t>(c.slot - 1)][at]
                           : peak_curve(w, c.slot, i));
  }
  return d;
}

FitView current_fit_view() {
  const FitViewData d = current_fit_view_data();
  return d.x.empty() ? empty_fit_view() : build_fit_view(d);
}

}  // namespace app
