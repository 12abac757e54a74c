#pragma once
// The fit report window's grid: one column per number of the report's CSV, one row per slot,
// then the fit's figures and, in words, what each slot's flags say. Its labels are named after
// the column and the slot (CENTRE3 is slot 3's centre, CENTRESD3 its standard deviation, FLAGS3
// its flags), so the program fills them by name.

#include <string>

namespace forms {

inline constexpr int kReportColumns = 15;
inline constexpr const char* kReportColumnNames[kReportColumns] = {
    "SLOT",     "CENTRE", "CENTRESD", "WIDTH", "WIDTHSD", "FWHM",        "FWHMSD",       "HEIGHT",
    "HEIGHTSD", "AREA",   "AREASD",   "SHARE", "SHARESD", "WINDOWSHARE", "WINDOWSHARESD"};
// The window's captions are Japanese like the dialogs around it; the saved CSV keeps its
// English column names. "Ratio(%)" is the peak-setting window's own caption for the same share.
inline constexpr const char* kReportColumnTitles[kReportColumns] = {
    "番号", "中心", "+/-", "幅",      "+/-", "FWHM",     "+/-", "高さ",
    "+/-",  "面積", "+/-", "割合(%)", "+/-", "Ratio(%)", "+/-"};

inline constexpr int kReportKeys = 7;
inline constexpr const char* kReportKeyNames[kReportKeys] = {
    "POINTS", "FREEPARAMETERS", "RSS", "CHI2", "REDUCEDCHI2", "WEIGHTING", "METHOD"};
inline constexpr const char* kReportKeyTitles[kReportKeys] = {
    "比較した点数", "自由パラメータ数", "残差平方和", "カイ二乗",
    "換算カイ二乗", "重み付け",         "方法"};

inline constexpr int kReportColumnWidth = 66;
inline constexpr int report_column_x(int column) { return 16 + 68 * column; }
inline constexpr int report_row_y(int slot) { return 16 + 24 * slot; }
inline std::string report_cell_name(int column, int slot) {
  return kReportColumnNames[column] + std::string(1, static_cast<char>('0' + slot));
}
// The line of slot k's flags in words, under the note.
inline std::string report_flags_name(int slot) {
  return "FLAGS" + std::string(1, static_cast<char>('0' + slot));
}
inline constexpr int report_key_y(int key) { return report_row_y(7) + 16 + 24 * key; }

// After a raw load, how its background was found, as the saved report has it: two columns of
// captions and values under the fit's figures.
inline constexpr int kBackgroundKeys = 10;
inline constexpr const char* kBackgroundKeyNames[kBackgroundKeys] = {
    "BGMETHOD", "BGLOWEND",    "BGHIGHEND",    "BGENDPOINTS",  "BGOFFSETS",
    "BGLEVELS", "BGTOUGAARDB", "BGTOUGAARDCD", "BGEXCITATION", "BGFITTED"};
inline constexpr const char* kBackgroundKeyTitles[kBackgroundKeys] = {"背景の方法",
                                                                      "低い端の x",
                                                                      "高い端の x",
                                                                      "両端の平均点数",
                                                                      "オフセット (低い端、高い端)",
                                                                      "レベル (低い端、高い端)",
                                                                      "Tougaard B",
                                                                      "Tougaard C、C'、D",
                                                                      "励起エネルギー (eV)",
                                                                      "ピークと同時にフィット"};
inline constexpr int kBackgroundRows = 5;
// Key i's caption and value: column 0 or 7 of the grid, a row under the fit's figures.
inline constexpr int background_key_x(int key) {
  return report_column_x(key < kBackgroundRows ? 0 : 7);
}
inline constexpr int background_key_y(int key) {
  return report_key_y(kReportKeys + key % kBackgroundRows);
}

}  // namespace forms
