#include "app/workspace/peak_table.h"

#include "app/workspace/control_refs.h"
#include "app/workspace/error_locations.h"
#include "forms/peak_rows.h"
#include "runtime/convert/number_text.h"
#include "runtime/convert/text_to_number.h"
#include "runtime/errors/runtime_error.h"
#include "runtime/forms/control_values.h"

namespace app {

rt::ObjRef field_of(int k, Param p) {
  const forms::PeakRowNumbers n = forms::peak_row(k);
  switch (p) {
    case Param::Centre:
      return EDIT(n.centre);
    case Param::Width:
      return EDIT(n.width);
    case Param::Height:
      return EDIT(n.height);
    case Param::Alpha:
      return EDIT(n.alpha);
  }
  return {};
}

rt::ObjRef lock_of(int k, Param p) {
  const forms::PeakRowNumbers n = forms::peak_row(k);
  switch (p) {
    case Param::Centre:
      return CHECK(n.centre_lock);
    case Param::Width:
      return CHECK(n.width_lock);
    case Param::Height:
      return CHECK(n.height_lock);
    case Param::Alpha:
      break;
  }
  return {};  // the coefficient has no lock: reading it is error 1002
}

rt::ObjRef asymmetric_box_of(int k) { return CHECK(forms::peak_row(k).asymmetric); }
rt::ObjRef ratio_field_of(int k) { return EDIT(forms::peak_row(k).ratio); }
rt::ObjRef row_lock_of(int k) { return CHECK(forms::peak_row(k).row_lock); }
rt::ObjRef swatch_of(int k) { return PICTURE(forms::peak_row(k).swatch); }

namespace {
void check_slot(int k, std::source_location where) {
  if (k < 1 || k > kSlots)
    rt::raise_error(rt::kSubscriptOutOfRange, location(ArrayCheck::SlotOutOfRange), where);
}
}  // namespace

bool Present(int k, std::source_location where) {
  check_slot(k, where);
  return !rt::get_text(field_of(k, Param::Centre), where).empty();
}

double Parameter(int k, Param p, std::source_location where) {
  check_slot(k, where);
  return rt::val(rt::get_text(field_of(k, p), where), where);
}

void SetParameter(int k, Param p, float v, std::source_location where) {
  check_slot(k, where);
  rt::set_text(field_of(k, p), rt::trimmed_single_text(v), where);
}

bool Locked(int k, Param p, std::source_location where) {
  check_slot(k, where);
  return rt::get_check(lock_of(k, p), where) != 0;
}

bool Asymmetric(int k, std::source_location where) {
  check_slot(k, where);
  return rt::get_check(asymmetric_box_of(k), where) != 0;
}

}  // namespace app
