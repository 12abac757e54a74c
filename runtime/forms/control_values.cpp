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
  const std::string line = one_line_text(typed);
  int limit = edit.def().edit_limit;
  if (limit <= 0 || char_length(line) <= limit) return line;
  return middle_chars(line, 1, limit);
}

// Bytes below 0x20 and 0x7F are never part of a multi-byte character, in this program's text
// encoding or in UTF-8, so they can be taken out byte by byte.
std::string one_line_text(std::string_view text) {
  std::string line;
  line.reserve(text.size());
  for (const char c : text) {
    if (c == '\r' || c == '\n') break;
    const auto byte = static_cast<unsigned char>(c);
    if (byte >= 0x20 && byte != 0x7F) line += c;
  }
  return line;
}

std::string typed_into_edit_box(const Control& edit, std::string_view before,
                                std::string_view after) {
  std::size_t head = 0;
  while (head < before.size() && head < after.size() && before[head] == after[head]) ++head;
  std::size_t tail = 0;
  while (tail < before.size() - head && tail < after.size() - head &&
         before[before.size() - 1 - tail] == after[after.size() - 1 - tail])
    ++tail;
  const std::string_view inserted = after.substr(head, after.size() - head - tail);
  std::string text(after.substr(0, head));
  text += one_line_text(inserted);
  text += after.substr(after.size() - tail);
  return limit_to_edit_box(edit, text);
}

}  // namespace rt
