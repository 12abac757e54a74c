#include "forms/form_elements.h"
#include "forms/form_library.h"
#include "forms/report_grid.h"

namespace forms {

const rt::FormDef& FORM6() {
  static const rt::FormDef def = [] {
    rt::FormDef d{window("FORM6", "フィット結果", {120, 220, 1080, 560}, kToolFrame, 1), {}};
    for (int c = 0; c < kReportColumns; ++c) {
      const rt::Rect head{report_column_x(c), 16, kReportColumnWidth, 20};
      d.controls.push_back(
          label(kReportColumnNames[c] + std::string("HEAD"), kReportColumnTitles[c], head, 9));
      for (int k = 1; k <= 6; ++k) {
        const rt::Rect cell{report_column_x(c), report_row_y(k), kReportColumnWidth, 20};
        d.controls.push_back(label(report_cell_name(c, k), "", cell, 9));
      }
    }
    for (int i = 0; i < kReportKeys; ++i) {
      const int y = report_key_y(i);
      d.controls.push_back(label(kReportKeyNames[i] + std::string("HEAD"), kReportKeyTitles[i],
                                 {report_column_x(0), y, 2 * kReportColumnWidth, 20}, 9));
      d.controls.push_back(
          label(kReportKeyNames[i], "", {report_column_x(2), y, 2 * kReportColumnWidth, 20}, 9));
    }
    d.controls.push_back(
        label("NOTE", "", {report_column_x(5), report_key_y(0), 7 * kReportColumnWidth, 20}, 9));
    for (int k = 1; k <= 6; ++k)
      d.controls.push_back(label(report_flags_name(k), "",
                                 {report_column_x(5), report_key_y(k), 7 * kReportColumnWidth, 20},
                                 9));
    d.controls.push_back(
        button("SAVEREPORT", "保存...", {report_column_x(13), report_key_y(3), 120, 28}));
    for (int i = 0; i < kBackgroundKeys; ++i) {
      const int x = background_key_x(i), y = background_key_y(i);
      d.controls.push_back(label(kBackgroundKeyNames[i] + std::string("HEAD"),
                                 kBackgroundKeyTitles[i], {x, y, 3 * kReportColumnWidth, 20}, 9));
      d.controls.push_back(
          label(kBackgroundKeyNames[i], "",
                {x + 3 * 68, y, (i < kBackgroundRows ? 4 : 5) * kReportColumnWidth, 20}, 9));
    }
    return d;
  }();
  return def;
}

}  // namespace forms
