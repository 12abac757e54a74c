#pragma once
// References to the controls the procedures read and write, taken once at start-up and held
// for the whole run. Control numbers are unique across the windows (EDIT2 is on the main
// window, EDIT3-EDIT8 on the graph-setting window, EDIT1 and EDIT9-EDIT43 on the peak-setting
// window; likewise CHECK1-CHECK2 and CHECK3-CHECK43, PICTURE1 and PICTURE2-PICTURE7), so each
// is reached by its number: EDIT(12), CHECK(30), PICTURE(1).

#include <array>

#include "runtime/forms/objects.h"

namespace app {

struct ControlRefs {
  std::array<rt::ObjRef, 44> edit{};
  std::array<rt::ObjRef, 44> check{};
  std::array<rt::ObjRef, 8> picture{};
  rt::ObjRef mainform, form2, form3, form4;
  // The "Components" window (FORM7): its numbers overlap the other windows', so they are kept
  // apart and reached by COMPONENT_EDIT(121), COMPONENT_CHECK(101), COMPONENT_TEXT(61).
  rt::ObjRef form7;
  std::array<rt::ObjRef, 341> component_edit{};
  std::array<rt::ObjRef, 121> component_check{};
  std::array<rt::ObjRef, 81> component_text{};
};

ControlRefs& controls();

// Unbound numbers give the null reference, which no control operation accepts (error 1000).
inline rt::ObjRef EDIT(int n) { return controls().edit.at(static_cast<std::size_t>(n)); }
inline rt::ObjRef CHECK(int n) { return controls().check.at(static_cast<std::size_t>(n)); }
inline rt::ObjRef PICTURE(int n) { return controls().picture.at(static_cast<std::size_t>(n)); }
inline rt::ObjRef COMPONENT_EDIT(int n) {
  return controls().component_edit.at(static_cast<std::size_t>(n));
}
inline rt::ObjRef COMPONENT_CHECK(int n) {
  return controls().component_check.at(static_cast<std::size_t>(n));
}
inline rt::ObjRef COMPONENT_TEXT(int n) {
  return controls().component_text.at(static_cast<std::size_t>(n));
}

// The start-up's reference steps, one per window.
void take_mainform_refs();
void take_form2_refs();
void take_form3_refs();
void take_form7_refs();

}  // namespace app
