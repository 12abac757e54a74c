#include "forms/form_elements.h"
#include "forms/form_library.h"

namespace forms {

// Opened from File > "Open raw spectrum...", to the right of the main window and above
// "Peak setting", clear of the other windows' places. "Shirley" starts checked (set when the
// window is created: a definition holds no check state).
const rt::FormDef& FORM5() {
  static const rt::FormDef def{
      window("FORM5", "Raw spectrum", {1013, 132, 320, 272}, kCloseOnlyFrame, 0),
      {
          label("TEXT1", "X from", {16, 20, 128, 16}),
          edit_box("EDIT1", {152, 16, 96, 24}),
          label("TEXT2", "X to", {16, 52, 128, 16}),
          edit_box("EDIT2", {152, 48, 96, 24}),
          label("TEXT3", "Points at each end", {16, 84, 128, 16}),
          edit_box("EDIT3", {152, 80, 48, 24}, "5"),
          check_box("CHECK1", "Shirley", {16, 116, 128, 16}),
          label("TEXT4", "VAMAS block", {16, 148, 128, 16}),
          edit_box("EDIT4", {152, 144, 48, 24}, "1"),
          button("BUTTON1", "Open...", {16, 184, 120, 32}),
      }};
  return def;
}

}  // namespace forms
