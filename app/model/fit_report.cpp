#include "app/model/fit_report.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

#include "app/model/model_part.h"
#include "app/model/peak_measures.h"
#include "app/model/profile_derivatives.h"
#include "app/workspace/workspace.h"
#include "runtime/convert/integer_text.h"

namespace app {
namespace {

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
  if (r.covariance.empty()) return std::nullopt;
  // A linked parameter's deviation comes from those of the values it follows.
  if (i < 0 && r.model.slots()[s].link[static_cast<std::size_t>(p)])
    return propagated_sd(r.model.gradient_of(s, p), r.covariance, r.model.free_count());
  if (i < 0) return std::nullopt;
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
// The slopes of a slot's centre, width and height by the free values.
using SlotGradients = std::array<SparseGradient, 3>;

void add_slopes(Gradient& out, const SparseGradient& by, double slope) {
  for (const auto& [i, c] : by) out.emplace_back(i, slope * c);
}

Measured whole_area(const PeakShape& shape, const ProfileConstants& k, const SlotGradients& g) {
  Measured area;
  const double w = std::fabs(shape.width);
  const double sign = shape.width < 0 ? -1.0 : 1.0;
  const double unit = unit_area(shape, k);
  area.value = shape.height * w * unit;
  add_slopes(area.gradient, g[1], sign * shape.height * unit);
  add_slopes(area.gradient, g[2], w * unit);
  return area;
}

// The point sum over the window, and its slopes.
Measured window_sum(const std::vector<double>& window_x, const PeakShape& shape,
                    const ProfileConstants& k, const SlotGradients& g) {
  Measured sum;
  double by_centre = 0, by_width = 0, by_height = 0;
  for (double x : window_x) {
    const ProfileTerms t = profile_terms(x, shape, k);
    sum.value += t.value;
    by_centre += t.d_centre;
    by_width += t.d_width;
    by_height += t.d_height;
  }
  add_slopes(sum.gradient, g[0], by_centre);
  add_slopes(sum.gradient, g[1], by_width);
  add_slopes(sum.gradient, g[2], by_height);
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
  const auto& link = slot.link;
  if (ci < 0 && !link[0]) row.locked.emplace_back("centre");
  if (wi < 0 && !link[1]) row.locked.emplace_back("width");
  if (hi < 0 && !link[2]) row.locked.emplace_back("height");
  if (s < record.names.size()) row.name = record.names[s];
  if (s < record.rules.size()) {
    row.constraints = record.rules[s];
  } else {
    for (const std::string& word : row.locked)
      row.constraints += (row.constraints.empty() ? "" : " ") + word + "=fix";
  }
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

// The species: each component whose height follows no area link heads one, with every
// component whose area links lead to it; its area is their sum.
std::vector<SpeciesRow> species_rows(const FitRecord& record, const std::vector<Measured>& areas,
                                     bool whole_areas) {
  const PeakModel& model = record.model;
  const std::size_t n = model.slots().size();
  std::vector<std::size_t> root(n);
  for (std::size_t s = 0; s < n; ++s) {
    std::size_t at = s;
    for (std::size_t steps = 0; steps < n; ++steps) {
      const auto& link = model.slots()[at].link[static_cast<std::size_t>(FitParam::Height)];
      if (!link || link->kind != SlotLink::Kind::AreaRatio) break;
      at = link->source;
    }
    root[s] = at;
  }
  std::vector<Measured> amounts;
  std::vector<SpeciesRow> rows;
  for (std::size_t head = 0; head < n; ++head) {
    if (root[head] != head) continue;
    SpeciesRow row;
    row.name = head < record.names.size() && !record.names[head].empty()
                   ? record.names[head]
                   : std::string(1, static_cast<char>('A' + model.slots()[head].slot - 1));
    Measured amount;
    for (std::size_t s = 0; s < n; ++s) {
      if (root[s] != head) continue;
      if (!row.members.empty()) row.members += ' ';
      const int slot = model.slots()[s].slot;
      row.members += static_cast<char>('A' + slot - 1);
      amount.value += areas[s].value;
      amount.gradient.insert(amount.gradient.end(), areas[s].gradient.begin(),
                             areas[s].gradient.end());
    }
    amounts.push_back(amount);
    rows.push_back(row);
  }
  if (!whole_areas) return rows;
  const std::vector<Measured> shares = shares_of(amounts);
  const bool deviations = !record.covariance.empty();
  const int p = model.free_count();
  for (std::size_t r = 0; r < rows.size(); ++r) {
    rows[r].area = amounts[r].value;
    if (deviations) rows[r].area_sd = propagated_sd(amounts[r].gradient, record.covariance, p);
    if (std::isfinite(shares[r].value)) {
      rows[r].share_percent = shares[r].value;
      if (deviations) rows[r].share_sd = propagated_sd(shares[r].gradient, record.covariance, p);
    }
  }
  return rows;
}

// A text field of the CSV: quoted when it holds a comma or a quotation mark.
std::string csv_field(const std::string& text) {
  if (text.find_first_of(",\"\n\r") == std::string::npos) return text;
  std::string out = "\"";
  for (char c : text) {
    if (c == '\n' || c == '\r') continue;
    if (c == '"') out += '"';
    out += c;
  }
  return out + "\"";
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
    SlotGradients g;
    for (FitParam q : {FitParam::Centre, FitParam::Width, FitParam::Height}) {
      if (model.has_links())
        g[static_cast<std::size_t>(q)] = model.gradient_of(s, q);
      else if (const int i = model.index_of(s, q); i >= 0)
        g[static_cast<std::size_t>(q)] = {{i, 1.0}};
    }
    areas.push_back(whole_area(shape, k, g));
    window_sums.push_back(window_sum(record.window_x, shape, k, g));
    report.rows.push_back(slot_row(record, s, areas.back(), extent));
  }

  const std::vector<Measured> shares = shares_of(areas);
  const std::vector<Measured> window_shares = shares_of(window_sums);
  for (std::size_t s = 0; s < report.rows.size(); ++s)
    set_shares(report.rows[s], shares[s], window_shares[s], !any_skewed, record);
  if (record.species) {
    report.list_species = true;
    report.species = species_rows(record, areas, !any_skewed);
  }
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
  const auto optional = [](const std::optional<double>& v) {
    return v ? report_number(*v) : std::string();
  };
  std::vector<std::string> lines;
  lines.push_back(fit_report_header());
  for (const FitReportRow& r : report.rows) {
    std::string line = rt::decimal_text(r.slot) + ',' + csv_field(r.name);
    for (const ReportNumber& column : kReportNumberColumns) {
      if (!column.csv_name) continue;
      line += ',' + optional(column.value(r));
    }
    lines.push_back(line + ',' + csv_field(r.constraints) + ',' + joined(r.flags, ""));
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
  if (report.list_species) {
    // A doublet counts once: its lines' areas together.
    lines.push_back("");
    lines.push_back(kSpeciesHeader);
    for (const SpeciesRow& sp : report.species)
      lines.push_back(csv_field(sp.name) + ',' + sp.members + ',' + optional(sp.area) + ',' +
                      optional(sp.area_sd) + ',' + optional(sp.share_percent) + ',' +
                      optional(sp.share_sd));
  }
  return lines;
}

void record_fit(FitRecord record) {
  record.background = workspace().fit.background;
  model_part().last_fit = std::move(record);
}
const FitRecord* last_fit() {
  const std::optional<FitRecord>& last = model_part().last_fit;
  return last ? &*last : nullptr;
}
void forget_fit() { model_part().last_fit.reset(); }

}  // namespace app
