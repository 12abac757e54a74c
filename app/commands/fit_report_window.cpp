#include "app/commands/fit_report_window.h"

#include <charconv>
#include <cmath>
#include <optional>
#include <string>
#include <vector>

#include "app/model/fit_report.h"
#include "app/workspace/workspace.h"
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

static_assert(forms::kReportColumns == 1 + kReportNumbers,
              "the window's grid shows the slot and every number of the report");

void put(rt::ObjRef form, const std::string& name, const std::string& text) {
  rt::set_text(rt::find_control(form, name), text);
}

// What each flag says, for the window.
std::string flag_words(const std::string& flag) {
  if (flag == kCentreAtBound) return "中心が範囲の端で止まりました";
  if (flag == kWidthAtBound) return "幅が範囲の端で止まりました";
  if (flag == kHeightZero) return "高さが 0 です";
  if (flag == kCentreOutsideWindow) return "中心がデータの範囲外です";
  if (flag == kTailOutsideWindow) return "面積の 1 % を超える部分がデータの範囲外です";
  return flag;
}

std::string flags_line(const FitReportRow& row) {
  std::string line;
  for (const std::string& flag : row.flags)
    line += (line.empty() ? "ピーク " + rt::decimal_text(row.slot) + ": " : std::string("、")) +
            flag_words(flag);
  return line;
}

std::string method_words(const std::string& method) {
  if (method == "linear") return "直線";
  if (method == "shirley") return "Shirley";
  if (method == "tougaard") return "Tougaard";
  return method;
}

// The background's lines: the last fit's, else the load's (a raw load has one before any fit).
void fill_background(rt::ObjRef form, const std::optional<FitReport>& report) {
  std::optional<BackgroundRecord> b = report ? report->background : workspace().fit.background;
  std::string texts[forms::kBackgroundKeys];
  if (b) {
    const auto pair = [](const std::string& a, const std::string& c) { return a + "、" + c; };
    texts[0] = method_words(b->method);
    texts[1] = short_number(b->low_from) + " – " + short_number(b->low_to);
    texts[2] = short_number(b->high_from) + " – " + short_number(b->high_to);
    texts[3] = rt::decimal_text(b->end_points);
    texts[4] = pair(rt::decimal_text(b->low_offset), rt::decimal_text(b->high_offset));
    texts[5] = pair(short_number(b->low_level), short_number(b->high_level));
    if (b->method == "tougaard") {
      texts[6] = short_number(b->tougaard_b) + (b->tougaard_b_fitted ? " (フィット)" : " (入力)");
      texts[7] = short_number(b->tougaard_c) + "、" + short_number(b->tougaard_c_prime) + "、" +
                 short_number(b->tougaard_d);
    }
    if (b->excitation_energy > 0) texts[8] = short_number(b->excitation_energy);
    if (report && !report->background_form.empty()) {
      std::string fitted;
      for (const auto& bp : report->background_parameters)
        fitted += (fitted.empty() ? "" : "、") + bp.name + " = " + short_number(bp.value) +
                  (bp.sd ? " ± " + short_number(*bp.sd) : std::string());
      texts[9] = fitted;
    }
  }
  for (int i = 0; i < forms::kBackgroundKeys; ++i)
    put(form, forms::kBackgroundKeyNames[i], texts[i]);
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
    // The grid's column 0 is the slot, then the report's numbers in their order.
    put(form, forms::report_cell_name(0, k), row ? rt::decimal_text(k) : "");
    for (int c = 0; c < kReportNumbers; ++c)
      put(form, forms::report_cell_name(c + 1, k),
          row ? cell(kReportNumberColumns[c].value(*row)) : "");
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
    note = "まだフィットしていません。FITTING を押すか Refine を選んでください。";
  else if (report->method == "fitting")
    note = "FITTING は標準偏差を求めません。Refine で求まります。";
  else if (!report->rows.empty() && !report->rows.front().share_percent)
    note = "歪んだピークには全体の面積がありません。Ratio(%) を使ってください。";
  put(form, "NOTE", note);
  fill_background(form, report);
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
