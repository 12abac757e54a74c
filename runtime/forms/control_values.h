#pragma once
// Reading and writing what controls show: edit texts, captions and check states.

#include <source_location>
#include <string>
#include <string_view>

#include "runtime/forms/objects.h"

namespace rt {

// Edit box contents, or the caption of a label, button, check box or window.
std::string get_text(ObjRef ref, std::source_location where = std::source_location::current());
void set_text(ObjRef ref, std::string_view text,
              std::source_location where = std::source_location::current());

// Check boxes only (error 1002 otherwise): 0 unchecked, 1 checked, 2 grey.
int get_check(ObjRef ref, std::source_location where = std::source_location::current());
// A state outside 0-2 is error 5. No click event results.
void set_check(ObjRef ref, int state, std::source_location where = std::source_location::current());

// What a user's typing leaves in an edit box: one line (see one_line_text), cut to the box's
// edit limit.
std::string limit_to_edit_box(const Control& edit, std::string_view typed);

// An edit box holds one line: the text up to its first line end (CR or LF), without the other
// control characters (TAB, NUL, DEL...), which a field never shows and no file line can hold.
std::string one_line_text(std::string_view text);

// The box's text after an edit that turned `before` into `after`: what the edit inserted is
// kept up to its first line end, so a multi-line paste gives its first line and the text
// around it stays.
std::string typed_into_edit_box(const Control& edit, std::string_view before,
                                std::string_view after);

}  // namespace rt
