#pragma once
// The peak table: six slots held only in the fields and check boxes of the peak-setting
// window. A parameter is read by converting its field's text (VAL) and written as the trimmed
// text of the single, so every reader sees exactly what the field's text reads back as.

#include <source_location>

#include "runtime/forms/objects.h"

namespace app {

inline constexpr int kSlots = 6;

enum class Param { Centre, Width, Height, Alpha };

// Slot k (1 to 6): the controls of its row.
rt::ObjRef field_of(int k, Param p);        // centre EDIT(11+k), width EDIT(17+k), height EDIT(23+k), alpha EDIT(29+k)
rt::ObjRef lock_of(int k, Param p);         // centre CHECK(17+k), width CHECK(23+k), height CHECK(29+k)
rt::ObjRef asymmetric_box_of(int k);        // CHECK9 for slot 1, CHECK(11+k) for the others
rt::ObjRef ratio_field_of(int k);           // EDIT(35+k)
rt::ObjRef row_lock_of(int k);              // CHECK(2+k)
rt::ObjRef swatch_of(int k);                // PICTURE(1+k)

// A slot is present when its centre text is not empty (a text of blanks counts as present).
bool Present(int k, std::source_location where = std::source_location::current());
double Parameter(int k, Param p, std::source_location where = std::source_location::current());
void SetParameter(int k, Param p, float v, std::source_location where = std::source_location::current());
// Checked means any state but 0.
bool Locked(int k, Param p, std::source_location where = std::source_location::current());
bool Asymmetric(int k, std::source_location where = std::source_location::current());

}  // namespace app
