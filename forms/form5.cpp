#include "forms/form_elements.h"
#include "forms/form_library.h"

namespace forms {

// Opened from File > "Open raw spectrum...", to the right of the main window and above
// "Peak setting", clear of the other windows' places. "Shirley" starts checked (set when the
// window is created: a definition holds no check state). Its captions are Japanese, as are
// the dialogs around it (README lists the English). The Tougaard kernel, the ends' offsets and
// the excitation energy stand in a second column, so that the first keeps its places; the
// list of the file's blocks is a third, the window as wide as "Peak setting" under it.
const rt::FormDef& FORM5() {
  static const rt::FormDef def{
      window("FORM5", "生スペクトル", {1013, 132, 809, 340}, kFixedToolFrame, 0),
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
          check_box("CHECK2", "Tougaard", {280, 20, 176, 16}),
          label("TEXT5", "B (空欄: フィット)", {280, 52, 176, 16}),
          edit_box("EDIT5", {464, 48, 96, 24}),
          label("TEXT6", "C (空欄: 1643)", {280, 84, 176, 16}),
          edit_box("EDIT6", {464, 80, 96, 24}),
          label("TEXT7", "C' (空欄: 1、酸化物 -1)", {280, 116, 176, 16}),
          edit_box("EDIT7", {464, 112, 96, 24}),
          label("TEXT8", "D (空欄: 0、SiO2 275)", {280, 148, 176, 16}),
          edit_box("EDIT8", {464, 144, 96, 24}),
          label("TEXT9", "低い端のオフセット", {280, 180, 176, 16}),
          edit_box("EDIT9", {464, 176, 48, 24}, "0"),
          label("TEXT10", "高い端のオフセット", {280, 212, 176, 16}),
          edit_box("EDIT10", {464, 208, 48, 24}, "0"),
          label("TEXT11", "励起エネルギー (eV)", {280, 244, 176, 16}),
          edit_box("EDIT11", {464, 240, 96, 24}),
          label("TEXT12", "Al Ka 1486.6、Mg Ka 1253.6。空欄: ファイルは結合エネルギー",
                {16, 276, 560, 16}),
          // The file's blocks or regions after a load; a choice numbers it in "VAMAS block".
          label("TEXT13", "ファイルのブロック (選ぶと VAMAS ブロックに入ります)",
                {584, 4, 209, 32}),
          list_box("LIST1", {584, 40, 209, 224}, "EDIT4"),
      }};
  return def;
}

}  // namespace forms
