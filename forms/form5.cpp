#include "forms/form_elements.h"
#include "forms/form_library.h"

namespace forms {

// Opened from File > "Open raw spectrum...", to the right of the main window and above
// "Peak setting", clear of the other windows' places. "Shirley" starts checked (set when the
// window is created: a definition holds no check state). The Tougaard kernel, the ends'
// offsets and the excitation energy stand in a second column, so that the first keeps its
// places.
const rt::FormDef& FORM5() {
  static const rt::FormDef def{
      window("FORM5", "Raw spectrum", {1013, 132, 600, 340}, kCloseOnlyFrame, 0),
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
          check_box("CHECK2", "Tougaard", {280, 20, 176, 16}),
          label("TEXT5", "B (empty: fitted)", {280, 52, 176, 16}),
          edit_box("EDIT5", {464, 48, 96, 24}),
          label("TEXT6", "C (empty: 1643)", {280, 84, 176, 16}),
          edit_box("EDIT6", {464, 80, 96, 24}),
          label("TEXT7", "C' (empty: 1; oxides -1)", {280, 116, 176, 16}),
          edit_box("EDIT7", {464, 112, 96, 24}),
          label("TEXT8", "D (empty: 0; SiO2 275)", {280, 148, 176, 16}),
          edit_box("EDIT8", {464, 144, 96, 24}),
          label("TEXT9", "Offset, low end", {280, 180, 176, 16}),
          edit_box("EDIT9", {464, 176, 48, 24}, "0"),
          label("TEXT10", "Offset, high end", {280, 212, 176, 16}),
          edit_box("EDIT10", {464, 208, 48, 24}, "0"),
          label("TEXT11", "Excitation energy (eV)", {280, 244, 176, 16}),
          edit_box("EDIT11", {464, 240, 96, 24}),
          label("TEXT12", "Al Ka 1486.6, Mg Ka 1253.6; empty: the file is in binding energy",
                {16, 276, 560, 16}),
      }};
  return def;
}

}  // namespace forms
