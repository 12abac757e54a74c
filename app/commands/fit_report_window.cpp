#include "app/commands/fit_report_window.h"

#include <charconv>
#include <cmath>
#include <optional>
#include <string>
#include <vector>

#include "app/model/fit_report.h"
#include "forms/report_grid.h"
#include "runtime/convert/integer_text.h"
#include "runtime/forms/control_values.h"
#include "runtime/forms/objects.h"

namespace app {
namespace {

// Six digits are what a reader takes in at a glance; the saved report has nine.
std::string short_number(double v) {
  if (!std::isfinite(v)) return report_number(v);
  char buffer[32];
  const auto r = std::to_chars(buffer, buffer + sizeof buffer, v, std::chars_format::general, 6);
  return std::string(buffer, r.ptr);
}

std::string cell(const std::optional<double>& v) { return v ? short_number(*v) : std::string(); }

void put(rt::ObjRef form, const std::string& name, const std::string& text) {
  rt::set_text(rt::find_control(form, name), text);
}

// What each flag says, for the window.
std::string flag_words(const std::string& flag) {
  if (flag == kCentreAtBound) return "centre ended on its bound";
  if (flag == kWidthAtBound) return "width ended on its bound";
  if (flag == kHeightZero) return "height is 0";
  if (flag == kCentreOutsideWindow) return "centre outside the window";
  if (flag == kTailOutsideWindow) return "over 1 % of its area outside the window";
  return flag;
}

std::string flags_line(const FitReportRow& row) {
  std::string line;
  for (const std::string& flag : row.flags)
    line += (line.empty() ? "Peak " + rt::decimal_text(row.slot) + ": " : std::string("; ")) +
            flag_words(flag);
  return line;
}

void fill(rt::ObjRef form) {
  const FitRecord* record = last_fit();
  std::optional<FitReport> report;
  if (record) report = make_fit_report(*record);
  for (int k = 1; k <= 6; ++k) {
    const FitReportRow* row = nullptr;
    if (report)
      for (const FitReportRow& r : report->rows)
        if (r.slot == k) row = &r;
    const std::string texts[forms::kReportColumns] = {
        row ? rt::decimal_text(k) : "",        row ? short_number(row->centre) : "",
        row ? cell(row->centre_sd) : "",       row ? short_number(row->width) : "",
        row ? cell(row->width_sd) : "",        row ? short_number(row->fwhm) : "",
        row ? cell(row->fwhm_sd) : "",         row ? short_number(row->height) : "",
        row ? cell(row->height_sd) : "",       row ? cell(row->area) : "",
        row ? cell(row->area_sd) : "",         row ? cell(row->share_percent) : "",
        row ? cell(row->share_sd) : "",        row ? short_number(row->window_share_percent) : "",
        row ? cell(row->window_share_sd) : "",
    };
    for (int c = 0; c < forms::kReportColumns; ++c)
      put(form, forms::report_cell_name(c, k), texts[c]);
  }
  const std::string keys[forms::kReportKeys] = {
      report ? rt::decimal_text(static_cast<std::int64_t>(report->points)) : "",
      report ? rt::decimal_text(report->free_parameters) : "",
      report ? short_number(report->rss) : "",
      report ? short_number(report->chi2) : "",
      report ? short_number(report->reduced_chi2) : "",
      report ? report->weighting : "",
      report ? report->method : "",
  };
  for (int i = 0; i < forms::kReportKeys; ++i) put(form, forms::kReportKeyNames[i], keys[i]);
  std::string note;
  if (!report)
    note = "No fit yet: press FITTING or choose Refine.";
  else if (report->method == "fitting")
    note = "FITTING estimates no deviations: Refine does.";
  else if (!report->rows.empty() && !report->rows.front().share_percent)
    note = "A skewed peak has no whole area: use Ratio(%).";
  put(form, "NOTE", note);
  // The flagged slots' lines first, in slot order.
  std::vector<std::string> lines;
  if (report)
    for (const FitReportRow& r : report->rows)
      if (!r.flags.empty()) lines.push_back(flags_line(r));
  for (int k = 1; k <= 6; ++k)
    put(form, forms::report_flags_name(k),
        static_cast<std::size_t>(k) <= lines.size() ? lines[static_cast<std::size_t>(k - 1)] : "");
}

}  // namespace

void update_fit_report_window() {
  if (rt::Form* form = rt::find_live_form("FORM6")) fill(form->ref());
}

void show_fit_report_window() {
  rt::Form* form = rt::find_live_form("FORM6");
  if (!form) {
    fill(rt::create_form("FORM6", true));
    return;
  }
  rt::show_form(form->ref(), -1);
  fill(form->ref());
}

}  // namespace app
