#include "forms/form_elements.h"
#include "forms/form_library.h"

namespace forms {

// Opened from File > "Open raw spectrum...", to the right of the main window and above
// "Peak setting", clear of the other windows' places. "Shirley" starts checked (set when the
// window is created: a definition holds no check state). Its captions are Japanese, as are
// the dialogs around it (README lists the English).
const rt::FormDef& FORM5() {
  static const rt::FormDef def{
      window("FORM5", "生スペクトル", {1013, 132, 320, 272}, kFixedToolFrame, 0),
      {
          label("TEXT1", "X 開始", {16, 20, 128, 16}),
          edit_box("EDIT1", {152, 16, 96, 24}),
          label("TEXT2", "X 終了", {16, 52, 128, 16}),
          edit_box("EDIT2", {152, 48, 96, 24}),
          label("TEXT3", "両端の平均点数", {16, 84, 128, 16}),
          edit_box("EDIT3", {152, 80, 48, 24}, "5"),
          check_box("CHECK1", "Shirley", {16, 116, 128, 16}),
          label("TEXT4", "VAMAS ブロック", {16, 148, 128, 16}),
          edit_box("EDIT4", {152, 144, 48, 24}, "1"),
          button("BUTTON1", "開く...", {16, 184, 120, 32}),
      }};
  return def;
}

}  // namespace forms
