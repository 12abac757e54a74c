#include "runtime/forms/control_values.h"

#include "runtime/convert/string_functions.h"
#include "runtime/errors/error_locations.h"
#include "runtime/errors/runtime_error.h"
#include "runtime/forms/platform.h"

namespace rt {
namespace {}

std::string get_text(ObjRef ref, std::source_location where) {
  if (ref.id == 0 || form_exists(ref)) return form_of(ref, where).def().window.caption;
  return control_of(ref, where).text();
}

void set_text(ObjRef ref, std::string_view text, std::source_location where) {
  if (ref.id == 0 || form_exists(ref)) {
    form_of(ref, where);  // window captions never change in this program
    return;
  }
  Control& c = control_of(ref, where);
  if (c.kind() == ElementKind::Picture)
    raise_error(kWrongObjectKind, location(ControlValueCheck::PictureHasNoText), where);
  c.set_text(std::string(text));
}

int get_check(ObjRef ref, std::source_location where) {
  Control& c = control_of(ref, where);
  if (c.kind() != ElementKind::CheckBox)
    raise_error(kWrongObjectKind, location(ControlValueCheck::ReadCheckOfNonBox), where);
  return c.check_state();
}

void set_check(ObjRef ref, int state, std::source_location where) {
  Control& c = control_of(ref, where);
  if (c.kind() != ElementKind::CheckBox)
    raise_error(kWrongObjectKind, location(ControlValueCheck::SetCheckOfNonBox), where);
  if (state < 0 || state > 2)
    raise_error(kInvalidArgument, location(ControlValueCheck::BadCheckState), where);
  c.set_check_state(state);
}

std::string limit_to_edit_box(const Control& edit, std::string_view typed) {
  int limit = edit.def().edit_limit;
  if (limit <= 0 || char_length(typed) <= limit) return std::string(typed);
  return middle_chars(typed, 1, limit);
}

}  // namespace rt
