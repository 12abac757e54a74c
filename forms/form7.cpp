#include "forms/form_elements.h"
#include "forms/form_library.h"
#include "forms/peak_rows.h"
#include "runtime/convert/integer_text.h"

namespace forms {
namespace {

std::string numbered(const char* prefix, int n) { return prefix + rt::decimal_text(n); }

// The grid's columns: left edge and width, in the order of the headings below.
struct Column {
  const char* heading;
  int x, width;
};
constexpr Column kColumns[] = {
    {"", 12, 20},
    {"Name", 36, 92},
    {"Centre", 132, 64},
    {"Width", 200, 52},
    {"Height", 256, 68},
    {"As", 328, 20},
    {"Alpha", 352, 48},
    {"Centre link", 404, 80},
    {"Width link", 488, 80},
    {"Height/area link", 572, 108},
    {"Alpha link", 684, 76},
    {"FWHM", 764, 52},
    {"Area", 820, 76},
    {"Share(%)", 900, 56},
};

constexpr int kTop = 36;    // the first row's top
constexpr int kPitch = 26;  // rows 24 pixels high, 2 apart

void add_component_row(std::vector<rt::ElementDef>& c, int k) {
  const ComponentRowNumbers n = component_row(k);
  const int y = kTop + kPitch * (k - 1);
  const auto at = [y](int column, int height = 24) {
    return rt::Rect{kColumns[column].x, y, kColumns[column].width, height};
  };
  c.push_back(label(numbered("TEXT", n.label), std::string(1, static_cast<char>('A' + k - 1)),
                    {kColumns[0].x, y + 4, kColumns[0].width, 16}));
  c.push_back(edit_box(numbered("EDIT", n.name), at(1)));
  c.push_back(edit_box(numbered("EDIT", n.centre), at(2)));
  c.push_back(edit_box(numbered("EDIT", n.width), at(3)));
  c.push_back(edit_box(numbered("EDIT", n.height), at(4)));
  c.push_back(check_box(numbered("CHECK", n.asymmetric), "", {kColumns[5].x + 2, y + 4, 16, 16}));
  c.push_back(edit_box(numbered("EDIT", n.alpha), at(6)));
  c.push_back(edit_box(numbered("EDIT", n.centre_rule), at(7)));
  c.push_back(edit_box(numbered("EDIT", n.width_rule), at(8)));
  c.push_back(edit_box(numbered("EDIT", n.height_rule), at(9)));
  c.push_back(edit_box(numbered("EDIT", n.alpha_rule), at(10)));
  c.push_back(label(numbered("TEXT", n.fwhm), "", {kColumns[11].x, y + 4, kColumns[11].width, 16}));
  c.push_back(label(numbered("TEXT", n.area), "", {kColumns[12].x, y + 4, kColumns[12].width, 16}));
  c.push_back(
      label(numbered("TEXT", n.share), "", {kColumns[13].x, y + 4, kColumns[13].width, 16}));
}

rt::FormDef make_form7() {
  // 1140 x 640 outside: on a 1366 x 768 screen with room for a task bar.
  rt::FormDef def{window("FORM7", "Components", {20, 40, 1140, 640}, kToolFrame, 1), {}};
  auto& c = def.controls;
  int heading = 81;
  for (const Column& column : kColumns) {
    if (*column.heading)
      c.push_back(label(numbered("TEXT", heading), column.heading,
                        {column.x, 12, column.width + 8, 16}, 9));
    ++heading;
  }
  for (int k = 1; k <= kComponentRows; ++k) add_component_row(c, k);
  // The doublet helper: which component, which line (or just the orbital), its splitting.
  const int bottom = kTop + kPitch * kComponentRows + 8;
  c.push_back(button("BUTTON1", "Add doublet...", {36, bottom, 120, 28}));
  c.push_back(label("TEXT96", "of", {164, bottom + 6, 20, 16}));
  c.push_back(edit_box(numbered("EDIT", kDoubletOf), {188, bottom + 2, 32, 24}));
  c.push_back(label("TEXT97", "line or orbital", {228, bottom + 6, 96, 16}));
  c.push_back(edit_box(numbered("EDIT", kDoubletLine), {328, bottom + 2, 80, 24}));
  c.push_back(label("TEXT98", "splitting (eV)", {416, bottom + 6, 92, 16}));
  c.push_back(edit_box(numbered("EDIT", kDoubletSplitting), {512, bottom + 2, 56, 24}));
  c.push_back(label("STATE", "", {576, bottom + 6, 380, 20}, 9));
  // The editable table of common lines' splittings, to the right of the grid.
  c.push_back(label("TEXT99", "Line", {972, 12, 80, 16}, 9));
  c.push_back(label("TEXT100", "Splitting (eV)", {1056, 12, 88, 16}, 9));
  for (int i = 0; i < kSplittingRows; ++i) {
    const int y = kTop + kPitch * i;
    c.push_back(
        edit_box(numbered("EDIT", kSplittingLine + i), {972, y, 80, 24}, kSplittings[i].line));
    c.push_back(edit_box(numbered("EDIT", kSplittingValue + i), {1056, y, 56, 24},
                         kSplittings[i].splitting));
  }
  return def;
}

}  // namespace

const rt::FormDef& FORM7() {
  static const rt::FormDef def = make_form7();
  return def;
}

}  // namespace forms
