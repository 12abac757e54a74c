#pragma once
// The peak table: six slots held in the fields and check boxes of the peak-setting window. A
// parameter is read by converting its field's text (VAL) and written as the trimmed text of the
// single, so every reader sees exactly what the field's text reads back as; except that a fit
// may keep its full double behind a field (fit_state.h), which every reader then gets for as
// long as the field shows the text the program wrote or rounded it to.

#include <source_location>
#include <string>

#include "app/workspace/fit_state.h"
#include "forms/peak_rows.h"
#include "runtime/forms/objects.h"

namespace app {

inline constexpr int kSlots = forms::kPeakRows;
// The components A to T: slots 1 to 6 are the peak table's rows, 7 to 20 live in the
// "Components" window. Every function below takes any of them unless it says otherwise.
inline constexpr int kComponents = forms::kComponentRows;

enum class Param { Centre, Width, Height, Alpha };

// Slot k: the controls of its row, numbered as forms/peak_rows.h says.
rt::ObjRef field_of(int k, Param p);  // centre, width, height or alpha field
rt::ObjRef lock_of(int k, Param p);   // centre, width or height lock (slots 1 to 6)
rt::ObjRef asymmetric_box_of(int k);
rt::ObjRef ratio_field_of(int k);  // slots 7 to 20: the share in the "Components" window
rt::ObjRef row_lock_of(int k);     // slots 1 to 6
rt::ObjRef swatch_of(int k);       // slots 1 to 6

// A slot is present when its centre text is not empty (a text of blanks counts as present).
bool Present(int k, std::source_location where = std::source_location::current());
// The kept value when one stands behind the field's text, else VAL of the text.
double Parameter(int k, Param p, std::source_location where = std::source_location::current());
// Writes the single's text and forgets any kept value.
void SetParameter(int k, Param p, float v,
                  std::source_location where = std::source_location::current());

// Writes `text` into the field and keeps `value` behind it (centre, width and height only).
void KeepParameter(int k, Param p, double value, const std::string& text,
                   std::source_location where = std::source_location::current());
// The value kept behind slot k's field p while its field shows that text, else nothing.
const KeptValue* kept_value(int k, Param p,
                            std::source_location where = std::source_location::current());
// The field's text is replaced by one the program derived from it (the one-decimal rounding of
// a redraw): a value kept behind the old text stays behind the new one.
void RewriteParameterText(int k, Param p, const std::string& text,
                          std::source_location where = std::source_location::current());
// The field stands for its text alone again.
void forget_kept_value(int k, Param p);
void forget_kept_values(int k);
void forget_kept_values();
// The kept values go with their slot's texts when a row moves: slot `from`'s to slot `to`
// (`from` keeps none), or two slots' exchanged.
void move_kept_values(int from, int to);
void swap_kept_values(int a, int b);
// The same for whichever peak field `field` is (typing into it); nothing for other controls.
void forget_kept_value_of(rt::ObjRef field);
// Checked means any state but 0; a constraint cell holding "fix" locks as well (and is the
// only lock of slots 7 to 20).
bool Locked(int k, Param p, std::source_location where = std::source_location::current());
bool Asymmetric(int k, std::source_location where = std::source_location::current());

}  // namespace app
