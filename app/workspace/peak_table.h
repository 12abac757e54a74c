#pragma once
// The peak table: six slots held only in the fields and check boxes of the peak-setting
// window. A parameter is read by converting its field's text (VAL) and written as the trimmed
// text of the single, so every reader sees exactly what the field's text reads back as.

#include <source_location>

#include "forms/peak_rows.h"
#include "runtime/forms/objects.h"

namespace app {

inline constexpr int kSlots = forms::kPeakRows;

enum class Param { Centre, Width, Height, Alpha };

// Slot k (1 to 6): the controls of its row, numbered as forms/peak_rows.h says.
rt::ObjRef field_of(int k, Param p);  // centre, width, height or alpha field
rt::ObjRef lock_of(int k, Param p);   // centre, width or height lock
rt::ObjRef asymmetric_box_of(int k);
rt::ObjRef ratio_field_of(int k);
rt::ObjRef row_lock_of(int k);
rt::ObjRef swatch_of(int k);

// A slot is present when its centre text is not empty (a text of blanks counts as present).
bool Present(int k, std::source_location where = std::source_location::current());
double Parameter(int k, Param p, std::source_location where = std::source_location::current());
void SetParameter(int k, Param p, float v,
                  std::source_location where = std::source_location::current());
// Checked means any state but 0.
bool Locked(int k, Param p, std::source_location where = std::source_location::current());
bool Asymmetric(int k, std::source_location where = std::source_location::current());

}  // namespace app
