#include "forms/form_elements.h"
#include "forms/form_library.h"
#include "forms/peak_rows.h"
#include "runtime/convert/integer_text.h"

namespace forms {
namespace {

std::string numbered(const char* prefix, int n) { return prefix + rt::decimal_text(n); }

// Row k of the peak table (k = 1 to 6): its top is 128 + 32 (k - 1); the 24-pixel controls sit
// at the top, the 16-pixel check boxes 8 pixels lower.
void add_peak_row(std::vector<rt::ElementDef>& c, int k) {
  const PeakRowNumbers n = peak_row(k);
  const int y = 128 + 32 * (k - 1);
  const int yc = y + 8;
  c.push_back(
      check_box(numbered("CHECK", n.row_lock), rt::decimal_text(k) + ".", {24, yc, 40, 16}));
  c.push_back(picture_box(numbered("PICTURE", n.swatch), {64, y, 16, 24}));
  c.push_back(check_box(numbered("CHECK", n.centre_lock), "", {96, yc, 16, 16}));
  c.push_back(edit_box(numbered("EDIT", n.centre), {112, y, 72, 24}));
  c.push_back(check_box(numbered("CHECK", n.height_lock), "", {208, yc, 16, 16}));
  c.push_back(edit_box(numbered("EDIT", n.height), {232, y, 72, 24}));
  c.push_back(check_box(numbered("CHECK", n.width_lock), "", {328, yc, 16, 16}));
  c.push_back(edit_box(numbered("EDIT", n.width), {344, y, 72, 24}));
  c.push_back(button(numbered("BUTTON", n.make), "Make", {432, y, 48, 24}));
  if (k < kPeakRows) c.push_back(button(numbered("BUTTON", n.move_down), "↓", {488, y, 24, 24}));
  c.push_back(button(numbered("BUTTON", n.remove), "Del", {520, y, 48, 24}));
  c.push_back(check_box(numbered("CHECK", n.asymmetric), "", {592, yc, 16, 16}));
  c.push_back(edit_box(numbered("EDIT", n.alpha), {616, y, 72, 24}));
  c.push_back(edit_box(numbered("EDIT", n.ratio), {704, y, 72, 24}));
}

rt::FormDef make_form2() {
  rt::FormDef def{window("FORM2", "Peak setting", {1013, 481, 809, 471}, kToolFrame, 0), {}};
  auto& c = def.controls;
  c = {
      label("TEXT9", "Target", {24, 32, 64, 24}, 14),
      edit_box("EDIT1", {96, 24, 520, 24}),
      button("BUTTON3", "OPEN", {624, 24, 80, 24}),
      label("TEXT10", "Position", {24, 72, 64, 16}, 14),
      edit_box("EDIT9", {96, 64, 72, 24}),
      edit_box("EDIT10", {184, 64, 72, 24}),
      label("TEXT11", "X axis +", {280, 72, 64, 16}, 14),
      edit_box("EDIT11", {352, 64, 64, 24}),
      button("BUTTON4", "Collect", {424, 64, 56, 24}),
      check_box("CHECK10", "Center", {96, 104, 80, 16}),
      check_box("CHECK12", "Height", {208, 104, 80, 16}),
      check_box("CHECK11", "Width", {328, 104, 80, 16}),
      label("TEXT17", "Alpha", {616, 104, 40, 16}),
      label("TEXT15", "Ratio(%)", {704, 104, 56, 16}),
      label("TEXT12", "Lock", {16, 120, 40, 16}),
      label("TEXT13", "As", {592, 120, 40, 16}),
  };
  for (int k = 1; k <= kPeakRows; ++k) add_peak_row(c, k);
  const std::vector<rt::ElementDef> bottom = {
      label("TEXT14", "Setting", {24, 336, 56, 16}),
      button("BUTTON22", "Save", {88, 328, 48, 24}),
      button("BUTTON23", "Load", {144, 328, 48, 24}),
      button("BUTTON24", "export as IMAGE", {88, 368, 120, 24}),
      button("BUTTON28", "export as TEXT", {216, 368, 120, 24}),
      button("BUTTON29", "Redraw", {376, 336, 88, 56}),
      button("BUTTON1", "FITTING", {480, 336, 144, 56}),
      label("TEXT16", "Total(%)", {632, 336, 56, 16}),
      edit_box("EDIT42", {704, 328, 72, 24}),
      button("BUTTON27", "COPY", {704, 360, 72, 24}),
      check_box("CHECK43", "TAB", {704, 384, 56, 16}),
      label("TEXT18", "Skip", {568, 400, 40, 16}),
      edit_box("EDIT43", {600, 400, 24, 16}, "3", 9),
  };
  c.insert(c.end(), bottom.begin(), bottom.end());
  return def;
}

}  // namespace

const rt::FormDef& FORM2() {
  static const rt::FormDef def = make_form2();
  return def;
}

}  // namespace forms
