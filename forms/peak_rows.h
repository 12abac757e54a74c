#pragma once
// The control numbers of the peak table's rows on the peak-setting window, in one place: the
// window's definition numbers its controls from here, and the program finds a slot's controls
// from here, so the two cannot disagree.

namespace forms {

inline constexpr int kPeakRows = 6;

// Row k (1 to 6): the number in each control's name (EDIT12 is "EDIT" and 12).
struct PeakRowNumbers {
  int row_lock;                 // CHECK: sets or clears the row's three locks
  int swatch;                   // PICTURE: the slot's colour
  int centre_lock, centre;      // CHECK, EDIT
  int height_lock, height;      // CHECK, EDIT
  int width_lock, width;        // CHECK, EDIT
  int make, move_down, remove;  // BUTTON "Make", "↓" (rows 1 to 5 only), "Del"
  int asymmetric;               // CHECK "As"
  int alpha, ratio;             // EDIT
};

constexpr PeakRowNumbers peak_row(int k) {
  return PeakRowNumbers{
      .row_lock = 2 + k,
      .swatch = 1 + k,
      .centre_lock = 17 + k,
      .centre = 11 + k,
      .height_lock = 29 + k,
      .height = 23 + k,
      .width_lock = 23 + k,
      .width = 17 + k,
      .make = 4 + k,
      .move_down = 10 + k,
      .remove = 15 + k,
      // Row 1's box is CHECK9, which lies between the row locks and the column headers.
      .asymmetric = k == 1 ? 9 : 11 + k,
      .alpha = 29 + k,
      .ratio = 35 + k,
  };
}

// The "Components" window (FORM7) lists up to 20 components, A to T; rows 1 to 6 are the peak
// table's rows shown again. Component k's controls, by the number in their names.
inline constexpr int kComponentRows = 20;

struct ComponentRowNumbers {
  int name, centre, width, height, alpha;  // EDIT
  int asymmetric;                          // CHECK "As"
  // EDIT: the constraint cells of the centre, width, height (or area) and asymmetry.
  int centre_rule, width_rule, height_rule, alpha_rule;
  int label, fwhm, area, share;  // TEXT
};

constexpr ComponentRowNumbers component_row(int k) {
  return ComponentRowNumbers{
      .name = 100 + k,
      .centre = 120 + k,
      .width = 140 + k,
      .height = 160 + k,
      .alpha = 180 + k,
      .asymmetric = 100 + k,
      .centre_rule = 200 + k,
      .width_rule = 220 + k,
      .height_rule = 240 + k,
      .alpha_rule = 260 + k,
      .label = k,
      .fwhm = 20 + k,
      .area = 40 + k,
      .share = 60 + k,
  };
}

// The doublet helper's fields: the component (a letter), the line ("Ti 2p") or orbital ("p",
// "d", "f"), and the splitting in eV (empty: the line's from the table).
inline constexpr int kDoubletOf = 281, kDoubletLine = 282, kDoubletSplitting = 283;

// The table of common lines and their spin-orbit splittings in eV: EDIT(301 + i) the line,
// EDIT(321 + i) its splitting, both editable. Values as the standard handbook of XPS data
// lists them for the elements (the README names it).
struct SplittingRow {
  const char* line;
  const char* splitting;
};
inline constexpr int kSplittingRows = 12;
inline constexpr int kSplittingLine = 301, kSplittingValue = 321;
inline constexpr SplittingRow kSplittings[kSplittingRows] = {
    {"Si 2p", "0.6"},  {"S 2p", "1.2"},   {"Ti 2p", "5.7"},  {"Fe 2p", "13.1"},
    {"Ni 2p", "17.3"}, {"Cu 2p", "19.8"}, {"Zn 2p", "23.1"}, {"Mo 3d", "3.1"},
    {"Ag 3d", "6.0"},  {"W 4f", "2.2"},   {"Pt 4f", "3.3"},  {"Au 4f", "3.7"},
};

}  // namespace forms
