#include "forms/form_elements.h"
#include "forms/form_library.h"

namespace forms {

// The x fields follow the reversed x axis: EDIT3 holds the left (greater) end, EDIT4 the right.
const rt::FormDef& FORM3() {
  static const rt::FormDef def{
      window("FORM3", "Graph setting", {409, 296, 315, 384}, kToolFrame, 0),
      {
          label("TEXT3", "X-axis", {24, 24, 56, 16}, 14),
          check_box("CHECK1", "User range", {104, 24, 80, 16}),
          label("TEXT4", "Range", {40, 56, 64, 16}, 14),
          edit_box("EDIT3", {104, 48, 64, 24}),
          edit_box("EDIT4", {192, 48, 64, 24}),
          label("TEXT5", "Step", {40, 104, 64, 16}, 14),
          edit_box("EDIT5", {104, 96, 64, 24}),
          label("TEXT6", "Y-axis", {24, 152, 64, 16}, 14),
          check_box("CHECK2", "User range", {104, 152, 80, 16}),
          label("TEXT7", "Range", {40, 184, 64, 16}, 14),
          edit_box("EDIT6", {104, 176, 64, 24}),
          edit_box("EDIT7", {192, 176, 64, 24}),
          label("TEXT8", "Step", {40, 232, 64, 16}, 14),
          edit_box("EDIT8", {104, 224, 64, 24}),
          button("BUTTON26", "Clear", {48, 280, 80, 40}),
          button("BUTTON2", "Re DRAW", {144, 280, 112, 40}),
      }};
  return def;
}

}  // namespace forms
