#pragma once
// The fit report window's grid: one column per column of the report's CSV, one row per slot,
// then the fit's figures. Its labels are named after the column and the slot (CENTRE3 is
// slot 3's centre, CENTRESD3 its standard deviation), so the program fills them by name.

#include <string>

namespace forms {

inline constexpr int kReportColumns = 12;
inline constexpr const char* kReportColumnNames[kReportColumns] = {
    "SLOT",   "CENTRE",   "CENTRESD", "WIDTH",  "WIDTHSD", "FWHM",
    "HEIGHT", "HEIGHTSD", "AREA",     "AREASD", "SHARE",   "SHARESD"};
// The window's captions are Japanese like the dialogs around it; the saved CSV keeps its
// English column names.
inline constexpr const char* kReportColumnTitles[kReportColumns] = {
    "番号", "中心", "+/-", "幅", "+/-", "FWHM", "高さ", "+/-", "面積", "+/-", "割合(%)", "+/-"};

inline constexpr int kReportKeys = 5;
inline constexpr const char* kReportKeyNames[kReportKeys] = {"POINTS", "FREEPARAMETERS", "RSS",
                                                             "REDUCEDCHI2", "METHOD"};
inline constexpr const char* kReportKeyTitles[kReportKeys] = {"比較した点数", "自由パラメータ数",
                                                              "残差平方和", "換算カイ二乗", "方法"};

inline constexpr int kReportColumnWidth = 76;
inline constexpr int report_column_x(int column) { return 16 + 80 * column; }
inline constexpr int report_row_y(int slot) { return 16 + 24 * slot; }
inline std::string report_cell_name(int column, int slot) {
  return kReportColumnNames[column] + std::string(1, static_cast<char>('0' + slot));
}

}  // namespace forms
