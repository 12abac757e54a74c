#include "app/workspace/peak_table.h"

#include "app/workspace/control_refs.h"
#include "runtime/convert/number_text.h"
#include "runtime/convert/text_to_number.h"
#include "runtime/errors/runtime_error.h"
#include "runtime/forms/control_values.h"

namespace app {

rt::ObjRef field_of(int k, Param p) {
  switch (p) {
    case Param::Centre: return EDIT(11 + k);
    case Param::Width: return EDIT(17 + k);
    case Param::Height: return EDIT(23 + k);
    case Param::Alpha: return EDIT(29 + k);
  }
  return {};
}

rt::ObjRef lock_of(int k, Param p) {
  switch (p) {
    case Param::Centre: return CHECK(17 + k);
    case Param::Width: return CHECK(23 + k);
    case Param::Height: return CHECK(29 + k);
    case Param::Alpha: break;
  }
  return {};  // the coefficient has no lock: reading it is error 1002
}

rt::ObjRef asymmetric_box_of(int k) { return k == 1 ? CHECK(9) : CHECK(11 + k); }
rt::ObjRef ratio_field_of(int k) { return EDIT(35 + k); }
rt::ObjRef row_lock_of(int k) { return CHECK(2 + k); }
rt::ObjRef swatch_of(int k) { return PICTURE(1 + k); }

namespace {
void check_slot(int k, std::source_location where) {
  if (k < 1 || k > kSlots) rt::raise_error(rt::kSubscriptOutOfRange, 0x0901, where);
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
