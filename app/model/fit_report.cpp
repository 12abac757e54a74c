#include "app/model/fit_report.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

#include "app/model/peak_measures.h"
#include "app/model/profile_derivatives.h"
#include "app/workspace/workspace.h"
#include "runtime/convert/integer_text.h"

namespace app {
namespace {

std::optional<FitRecord> g_last;

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// A gradient as (index of a free value, slope) pairs.
using Gradient = std::vector<std::pair<int, double>>;

// sqrt(g^T C g); infinite when a value it depends on is not determined.
double propagated_sd(const Gradient& gradient, const std::vector<double>& c, int p) {
  double variance = 0;
  for (const auto& [i, gi] : gradient) {
    if (gi == 0) continue;
    for (const auto& [j, gj] : gradient) {
      if (gj == 0) continue;
      const double cij = c[static_cast<std::size_t>(i) * static_cast<std::size_t>(p) +
                           static_cast<std::size_t>(j)];
      if (!std::isfinite(cij)) return std::numeric_limits<double>::infinity();
      variance += gi * cij * gj;
    }
  }
  return std::sqrt(std::max(variance, 0.0));
}

std::optional<double> sd_of(const FitRecord& r, std::size_t s, FitParam p) {
  const int i = r.model.index_of(s, p);
  if (i < 0 || r.covariance.empty()) return std::nullopt;
  const int n = r.model.free_count();
  const auto diagonal = static_cast<std::size_t>(i) * static_cast<std::size_t>(n + 1);
  return std::sqrt(r.covariance[diagonal]);
}

// An amount and its slopes by the free values, kept per slot so shares can combine them.
struct Measured {
  double value = 0;
  Gradient gradient;
};

// The shares of each amount in their sum, in percent, with the slopes of each share:
// share_s = 100 A_s / T, by a value v: 100 (dA_s/dv T - A_s dT/dv) / T^2.
std::vector<Measured> shares_of(const std::vector<Measured>& amounts) {
  double total = 0;
  for (const Measured& a : amounts) total += a.value;
  std::vector<Measured> shares;
  for (std::size_t s = 0; s < amounts.size(); ++s) {
    Measured share;
    share.value = 100 * amounts[s].value / total;
    for (std::size_t t = 0; t < amounts.size(); ++t) {
      const double factor = 100 * ((s == t ? total : 0.0) - amounts[s].value) / (total * total);
      for (const auto& [i, slope] : amounts[t].gradient)
        share.gradient.emplace_back(i, slope * factor);
    }
    shares.push_back(std::move(share));
  }
  return shares;
}

struct WindowExtent {
  double low = 0, high = 0, smallest_spacing = 0;
  bool empty = true;
};

WindowExtent extent_of(std::vector<double> x) {
  WindowExtent e;
  if (x.empty()) return e;
  std::sort(x.begin(), x.end());
  e.empty = false;
  e.low = x.front();
  e.high = x.back();
  for (std::size_t i = 1; i < x.size(); ++i) {
    const double gap = x[i] - x[i - 1];
    if (gap > 0 && (e.smallest_spacing == 0 || gap < e.smallest_spacing)) e.smallest_spacing = gap;
  }
  return e;
}

// Where a fit's bounds hold a value, it ends on them exactly; the margin only absorbs the last
// rounding of the solver's projection.
bool on_bound(double v, double bound, double scale) {
  return std::fabs(v - bound) <= 1e-9 * std::max(scale, std::fabs(bound));
}

std::vector<std::string> flags_of(const ModelSlot& slot, bool centre_free, bool width_free,
                                  const WindowExtent& e, const ProfileConstants& k) {
  std::vector<std::string> flags;
  if (e.empty) return flags;
  const PeakShape& s = slot.shape;
  const double span = e.high - e.low;
  const double w = std::fabs(s.width);
  if (centre_free && (on_bound(s.centre, e.low, span) || on_bound(s.centre, e.high, span)))
    flags.emplace_back(kCentreAtBound);
  if (width_free && ((e.smallest_spacing > 0 && on_bound(w, e.smallest_spacing / 2, w)) ||
                     (span > 0 && on_bound(w, span, span))))
    flags.emplace_back(kWidthAtBound);
  if (!(s.height > 0)) flags.emplace_back(kHeightZero);
  if (s.centre < e.low || s.centre > e.high) flags.emplace_back(kCentreOutsideWindow);
  // The profile's share beyond the window's ends, of its area over the reach a profile has.
  PeakShape unit = s;
  unit.height = 1;
  const double whole = area_between(unit, k, -std::numeric_limits<double>::infinity(),
                                    std::numeric_limits<double>::infinity());
  if (whole > 0 && w > 0) {
    const double inside = area_between(unit, k, e.low, e.high);
    if (1 - inside / whole > 0.01) flags.emplace_back(kTailOutsideWindow);
  }
  return flags;
}

}  // namespace

namespace {

// Whole-axis area h |w| K, and its slopes.
Measured whole_area(const PeakShape& shape, const ProfileConstants& k, int wi, int hi) {
  Measured area;
  const double w = std::fabs(shape.width);
  const double sign = shape.width < 0 ? -1.0 : 1.0;
  const double unit = unit_area(shape, k);
  area.value = shape.height * w * unit;
  if (wi >= 0) area.gradient.emplace_back(wi, sign * shape.height * unit);
  if (hi >= 0) area.gradient.emplace_back(hi, w * unit);
  return area;
}

// The point sum over the window, and its slopes.
Measured window_sum(const std::vector<double>& window_x, const PeakShape& shape,
                    const ProfileConstants& k, int ci, int wi, int hi) {
  Measured sum;
  double by_centre = 0, by_width = 0, by_height = 0;
  for (double x : window_x) {
    const ProfileTerms t = profile_terms(x, shape, k);
    sum.value += t.value;
    by_centre += t.d_centre;
    by_width += t.d_width;
    by_height += t.d_height;
  }
  if (ci >= 0) sum.gradient.emplace_back(ci, by_centre);
  if (wi >= 0) sum.gradient.emplace_back(wi, by_width);
  if (hi >= 0) sum.gradient.emplace_back(hi, by_height);
  return sum;
}

// One slot's line without its shares; kept in a function of its own, since the row's many
// optional values make the checks' analysis of one long loop body very slow.
FitReportRow slot_row(const FitRecord& record, std::size_t s, const Measured& area,
                      const WindowExtent& extent) {
  const PeakModel& model = record.model;
  const ProfileConstants& k = model.constants();
  const ModelSlot& slot = model.slots()[s];
  const PeakShape& shape = slot.shape;
  const int ci = model.index_of(s, FitParam::Centre);
  const int wi = model.index_of(s, FitParam::Width);
  const int hi = model.index_of(s, FitParam::Height);
  FitReportRow row;
  row.slot = slot.slot;
  row.centre = shape.centre;
  row.width = shape.width;
  row.height = shape.height;
  const double unit_width = unit_fwhm(shape, k);
  row.fwhm = std::fabs(shape.width) * unit_width;
  row.centre_sd = sd_of(record, s, FitParam::Centre);
  row.width_sd = sd_of(record, s, FitParam::Width);
  row.height_sd = sd_of(record, s, FitParam::Height);
  if (row.width_sd) row.fwhm_sd = *row.width_sd * unit_width;
  if (!shape.asymmetric) {
    row.area = area.value;
    if (!record.covariance.empty())
      row.area_sd = propagated_sd(area.gradient, record.covariance, model.free_count());
  }
  if (ci < 0) row.locked.emplace_back("centre");
  if (wi < 0) row.locked.emplace_back("width");
  if (hi < 0) row.locked.emplace_back("height");
  row.flags = flags_of(slot, ci >= 0, wi >= 0, extent, k);
  return row;
}

// The shares of a line; none without a total to share (every amount 0), nor a deviation.
void set_shares(FitReportRow& row, const Measured& share, const Measured& window_share,
                bool whole_area_shares, const FitRecord& record) {
  const bool deviations = !record.covariance.empty();
  const int p = record.model.free_count();
  if (std::isfinite(window_share.value)) {
    row.window_share_percent = window_share.value;
    if (deviations)
      row.window_share_sd = propagated_sd(window_share.gradient, record.covariance, p);
  }
  if (!whole_area_shares || !std::isfinite(share.value)) return;
  row.share_percent = share.value;
  if (deviations) row.share_sd = propagated_sd(share.gradient, record.covariance, p);
}

}  // namespace

FitReport make_fit_report(const FitRecord& record) {
  const PeakModel& model = record.model;
  const ProfileConstants& k = model.constants();
  const int p = model.free_count();
  FitReport report;
  report.method = record.method;
  report.background = record.background;
  if (const auto& b = model.active_background()) {
    static constexpr const char* kForms[] = {"linear", "shirley", "tougaard"};
    report.background_form = kForms[static_cast<int>(b->form)];
    const std::vector<const char*> names = b->names();
    const auto pn = static_cast<std::size_t>(p);
    for (std::size_t j = 0; j < names.size(); ++j) {
      const std::size_t at = static_cast<std::size_t>(model.background_index()) + j;
      std::optional<double> sd;
      if (record.covariance.size() == pn * pn) sd = std::sqrt(record.covariance[at * pn + at]);
      report.background_parameters.push_back({names[j], b->values[j], sd});
    }
  }
  report.weighting = model.weighted() ? "counts" : "none";
  report.points = model.point_count();
  report.free_parameters = p;
  const std::vector<double> values = model.free_values();
  report.chi2 = model.rss(values.data());
  PeakModel unweighted = model;
  unweighted.set_inverse_sigmas({});
  report.rss = unweighted.rss(values.data());
  const double dof = static_cast<double>(report.points) - p;
  report.reduced_chi2 = dof > 0 ? report.chi2 / dof : kNaN;

  const WindowExtent extent = extent_of(record.window_x);
  bool any_skewed = false;
  std::vector<Measured> areas, window_sums;
  for (std::size_t s = 0; s < model.slots().size(); ++s) {
    const PeakShape& shape = model.slots()[s].shape;
    any_skewed = any_skewed || shape.asymmetric;
    const int ci = model.index_of(s, FitParam::Centre);
    const int wi = model.index_of(s, FitParam::Width);
    const int hi = model.index_of(s, FitParam::Height);
    areas.push_back(whole_area(shape, k, wi, hi));
    window_sums.push_back(window_sum(record.window_x, shape, k, ci, wi, hi));
    report.rows.push_back(slot_row(record, s, areas.back(), extent));
  }

  const std::vector<Measured> shares = shares_of(areas);
  const std::vector<Measured> window_shares = shares_of(window_sums);
  for (std::size_t s = 0; s < report.rows.size(); ++s)
    set_shares(report.rows[s], shares[s], window_shares[s], !any_skewed, record);
  return report;
}

std::string report_number(double value) {
  if (std::isnan(value)) return "nan";
  if (std::isinf(value)) return value > 0 ? "inf" : "-inf";
  char buffer[64];
  const auto result =
      std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 9);
  return std::string(buffer, result.ptr);
}

const ReportNumber kReportNumberColumns[kReportNumbers] = {
    {"centre", [](const FitReportRow& r) { return std::optional<double>(r.centre); }},
    {"centre_sd", [](const FitReportRow& r) { return r.centre_sd; }},
    {"width", [](const FitReportRow& r) { return std::optional<double>(r.width); }},
    {"width_sd", [](const FitReportRow& r) { return r.width_sd; }},
    {"fwhm", [](const FitReportRow& r) { return std::optional<double>(r.fwhm); }},
    {"fwhm_sd", [](const FitReportRow& r) { return r.fwhm_sd; }},
    {"height", [](const FitReportRow& r) { return std::optional<double>(r.height); }},
    {"height_sd", [](const FitReportRow& r) { return r.height_sd; }},
    {"area", [](const FitReportRow& r) { return r.area; }},
    {"area_sd", [](const FitReportRow& r) { return r.area_sd; }},
    {"share_percent", [](const FitReportRow& r) { return r.share_percent; }},
    {"share_sd", [](const FitReportRow& r) { return r.share_sd; }},
    {"window_share_percent", [](const FitReportRow& r) { return r.window_share_percent; }},
    {nullptr, [](const FitReportRow& r) { return r.window_share_sd; }},
};

std::string fit_report_header() {
  std::string header = "slot,name";
  for (const ReportNumber& column : kReportNumberColumns)
    if (column.csv_name) header += std::string(",") + column.csv_name;
  return header + ",constraints,flags";
}

std::vector<std::string> fit_report_lines(const FitReport& report) {
  const auto joined = [](const std::vector<std::string>& words, const char* suffix) {
    std::string out;
    for (const std::string& word : words) out += (out.empty() ? "" : " ") + word + suffix;
    return out;
  };
  std::vector<std::string> lines;
  lines.push_back(fit_report_header());
  for (const FitReportRow& r : report.rows) {
    // The name stays empty until components carry names.
    std::string line = rt::decimal_text(r.slot) + ",";
    for (const ReportNumber& column : kReportNumberColumns) {
      if (!column.csv_name) continue;
      const std::optional<double> v = column.value(r);
      line += ',' + (v ? report_number(*v) : std::string());
    }
    lines.push_back(line + ',' + joined(r.locked, "=fix") + ',' + joined(r.flags, ""));
  }
  lines.push_back("");
  lines.push_back("points," + rt::decimal_text(static_cast<std::int64_t>(report.points)));
  lines.push_back("free_parameters," + rt::decimal_text(report.free_parameters));
  lines.push_back("rss," + report_number(report.rss));
  lines.push_back("chi2," + report_number(report.chi2));
  lines.push_back("reduced_chi2," + report_number(report.reduced_chi2));
  lines.push_back("weighting," + report.weighting);
  lines.push_back("method," + report.method);
  if (const auto& b = report.background) {
    // Where each end's level was averaged, as a report of the background needs it: the x of
    // its first and last averaged point, how many, and how many were skipped before them.
    lines.push_back("background," + b->method);
    lines.push_back("background_low_end_from," + report_number(b->low_from));
    lines.push_back("background_low_end_to," + report_number(b->low_to));
    lines.push_back("background_high_end_from," + report_number(b->high_from));
    lines.push_back("background_high_end_to," + report_number(b->high_to));
    lines.push_back("background_end_points," + rt::decimal_text(b->end_points));
    lines.push_back("background_low_offset," + rt::decimal_text(b->low_offset));
    lines.push_back("background_high_offset," + rt::decimal_text(b->high_offset));
    lines.push_back("background_low_level," + report_number(b->low_level));
    lines.push_back("background_high_level," + report_number(b->high_level));
    if (b->method == "tougaard") {
      lines.push_back("tougaard_b," + report_number(b->tougaard_b));
      lines.push_back(std::string("tougaard_b_from,") + (b->tougaard_b_fitted ? "fit" : "typed"));
      lines.push_back("tougaard_c," + report_number(b->tougaard_c));
      lines.push_back("tougaard_c_prime," + report_number(b->tougaard_c_prime));
      lines.push_back("tougaard_d," + report_number(b->tougaard_d));
    }
    if (b->excitation_energy > 0)
      lines.push_back("excitation_energy," + report_number(b->excitation_energy));
  }
  if (!report.background_form.empty()) {
    // Fitted with the peaks: each parameter with its deviation.
    lines.push_back("background_fitted_with_peaks," + report.background_form);
    for (const auto& bp : report.background_parameters) {
      lines.push_back("background_" + bp.name + "," + report_number(bp.value));
      lines.push_back("background_" + bp.name + "_sd," + (bp.sd ? report_number(*bp.sd) : ""));
    }
  }
  return lines;
}

void record_fit(FitRecord record) {
  record.background = workspace().fit.background;
  g_last = std::move(record);
}
const FitRecord* last_fit() { return g_last ? &*g_last : nullptr; }
void forget_fit() { g_last.reset(); }

}  // namespace app
