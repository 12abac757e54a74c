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
inline constexpr const char* kReportColumnTitles[kReportColumns] = {
    "Slot", "Centre", "+/-", "Width",    "+/-", "FWHM",     "+/-", "Height",
    "+/-",  "Area",   "+/-", "Share(%)", "+/-", "Ratio(%)", "+/-"};

inline constexpr int kReportKeys = 7;
inline constexpr const char* kReportKeyNames[kReportKeys] = {
    "POINTS", "FREEPARAMETERS", "RSS", "CHI2", "REDUCEDCHI2", "WEIGHTING", "METHOD"};
inline constexpr const char* kReportKeyTitles[kReportKeys] = {
    "Points compared",    "Free parameters", "Sum of squares", "Chi-square",
    "Reduced chi-square", "Weighting",       "Method"};

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

}  // namespace forms
