#include "app/model/fit_report.h"

#include <charconv>
#include <cmath>
#include <limits>

#include "app/model/peak_measures.h"
#include "runtime/convert/integer_text.h"

namespace app {
namespace {

std::optional<FitRecord> g_last;

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// Slopes of one slot's area by the free values: area = h |w| K.
struct AreaSlope {
  int width_index = -1, height_index = -1;
  double by_width = 0, by_height = 0;
};

// sqrt(g^T C g) for a gradient given as (index, slope) pairs; infinite when a value it
// depends on is not determined.
double propagated_sd(const std::vector<std::pair<int, double>>& gradient,
                     const std::vector<double>& c, int p) {
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

}  // namespace

FitReport make_fit_report(const FitRecord& record) {
  const PeakModel& model = record.model;
  const ProfileConstants& k = model.constants();
  const int p = model.free_count();
  const bool deviations = !record.covariance.empty();
  FitReport report;
  report.method = record.method;
  report.points = model.point_count();
  report.free_parameters = p;
  const std::vector<double> values = model.free_values();
  report.rss = model.rss(values.data());
  const double dof = static_cast<double>(report.points) - p;
  report.reduced_chi2 = dof > 0 ? report.rss / dof : kNaN;

  std::vector<AreaSlope> slopes;
  double total = 0;
  for (std::size_t s = 0; s < model.slots().size(); ++s) {
    const PeakShape& shape = model.slots()[s].shape;
    FitReportRow row;
    row.slot = model.slots()[s].slot;
    row.centre = shape.centre;
    row.width = shape.width;
    row.height = shape.height;
    const double w = std::fabs(shape.width);
    row.fwhm = w * unit_fwhm(shape, k);
    const double unit = unit_area(shape, k);
    row.area = shape.height * w * unit;
    total += row.area;
    AreaSlope slope;
    slope.width_index = model.index_of(s, FitParam::Width);
    slope.height_index = model.index_of(s, FitParam::Height);
    slope.by_width = (shape.width < 0 ? -1 : 1) * shape.height * unit;
    slope.by_height = w * unit;
    slopes.push_back(slope);
    row.centre_sd = sd_of(record, s, FitParam::Centre);
    row.width_sd = sd_of(record, s, FitParam::Width);
    row.height_sd = sd_of(record, s, FitParam::Height);
    if (deviations) {
      std::vector<std::pair<int, double>> g;
      if (slope.width_index >= 0) g.emplace_back(slope.width_index, slope.by_width);
      if (slope.height_index >= 0) g.emplace_back(slope.height_index, slope.by_height);
      row.area_sd = propagated_sd(g, record.covariance, p);
    }
    report.rows.push_back(row);
  }
  for (std::size_t s = 0; s < report.rows.size(); ++s) {
    FitReportRow& row = report.rows[s];
    row.share_percent = 100 * row.area / total;
    // No share without a total to share (every area 0): no deviation either.
    if (!std::isfinite(row.share_percent)) row.share_percent = kNaN;
    if (!deviations || std::isnan(row.share_percent)) continue;
    // share_s = 100 A_s / T: by a value of slot t, 100 dA_t (delta_st T - A_s) / T^2.
    std::vector<std::pair<int, double>> g;
    for (std::size_t t = 0; t < slopes.size(); ++t) {
      const double factor = 100 * ((s == t ? total : 0.0) - row.area) / (total * total);
      if (slopes[t].width_index >= 0)
        g.emplace_back(slopes[t].width_index, slopes[t].by_width * factor);
      if (slopes[t].height_index >= 0)
        g.emplace_back(slopes[t].height_index, slopes[t].by_height * factor);
    }
    row.share_sd = propagated_sd(g, record.covariance, p);
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

std::string share_text(double share_percent) {
  return std::isnan(share_percent) ? std::string() : report_number(share_percent);
}

std::vector<std::string> fit_report_lines(const FitReport& report) {
  const auto optional = [](const std::optional<double>& v) {
    return v ? report_number(*v) : std::string();
  };
  std::vector<std::string> lines;
  lines.push_back(
      "slot,centre,centre_sd,width,width_sd,fwhm,height,height_sd,area,area_sd,share_percent,share_"
      "sd");
  for (const FitReportRow& r : report.rows) {
    lines.push_back(
        rt::decimal_text(r.slot) + ',' + report_number(r.centre) + ',' + optional(r.centre_sd) +
        ',' + report_number(r.width) + ',' + optional(r.width_sd) + ',' + report_number(r.fwhm) +
        ',' + report_number(r.height) + ',' + optional(r.height_sd) + ',' + report_number(r.area) +
        ',' + optional(r.area_sd) + ',' + share_text(r.share_percent) + ',' + optional(r.share_sd));
  }
  lines.push_back("");
  lines.push_back("points," + rt::decimal_text(static_cast<std::int64_t>(report.points)));
  lines.push_back("free_parameters," + rt::decimal_text(report.free_parameters));
  lines.push_back("rss," + report_number(report.rss));
  lines.push_back("reduced_chi2," + report_number(report.reduced_chi2));
  lines.push_back("method," + report.method);
  return lines;
}

void record_fit(FitRecord record) { g_last = std::move(record); }
const FitRecord* last_fit() { return g_last ? &*g_last : nullptr; }
void forget_fit() { g_last.reset(); }

}  // namespace app
