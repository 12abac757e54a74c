#include "forms/form_elements.h"
#include "forms/form_library.h"

namespace forms {

const rt::FormDef& MAINFORM() {
  static const rt::FormDef def{
      window("MAINFORM", "Tessaly Ver 2.00", {143, 132, 718, 767}, kFullFrame, 1, "FORMMENU"),
      {
          picture_box("PICTURE1", {16, 16, 664, 648}, 14),  // the graph
          edit_box("EDIT2", {16, 672, 664, 24}),
      }};
  return def;
}

const rt::MenuDef& FORMMENU() {
  static const rt::MenuDef def{
      "FORMMENU",
      {
          {"file",
           "File",
           0,
           {{"openfile", "Open", 256, {}},
            {"openraw", "Open raw spectrum...", 260, {}},
            {"openanalysis", "Open analysis...", 276, {}},
            {"saveanalysis", "Save analysis...", 277, {}},
            {"exit", "Exit", 280, {}}}},
          {"saveitem",
           "Save",
           1,
           {{"saveasgraphics", "Save results as graphics ", 257, {}},
            {"saveastext", "Save results as text data", 258, {}}}},
          {"fititem",
           "Fit",
           2,
           {{"refine", "Refine (least squares)", 261, {}},
            {"savereport", "Save fit report...", 262, {}},
            {"fitreport", "Show fit report", 263, {}},
            {"weightcounts", "Weight by counting statistics", 264, {}, true},
            {"fitview", "Fit view", 288, {}},
            {"savefigure", "Save figure...", 289, {}},
            {"activebackground", "Fit background with peaks", 275, {}, true},
            {"components", "Components", 296, {}}}},

          {"about", "About", 259, {}},
          {"edititem", "Edit", 4, {{"undo", "Undo", 281, {}}, {"redo", "Redo", 282, {}}}},
          {"windowitem",
           "Window",
           5,
           {{"showpeaks", "Peak setting", 283, {}},
            {"showgraphsetting", "Graph setting", 284, {}},
            {"showrawspectrum", "Raw spectrum", 285, {}},
            {"showfitreport", "Fit report", 286, {}},
            {"showfitview", "Fit view", 290, {}},
            {"showcomponents", "Components", 297, {}}}},
          {"helpitem", "Help", 6, {{"manual", "Manual", 287, {}}}},
      }};
  return def;
}

void install_program_forms() {
  rt::install_form_definitions(
      {&MAINFORM(), &FORM2(), &FORM3(), &FORM4(), &FORM5(), &FORM6(), &FORM7(), &FORM8()},
      {&FORMMENU()});
}

}  // namespace forms
