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

}  // namespace forms
