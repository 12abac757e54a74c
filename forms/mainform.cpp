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
           {{"openfile", "Open", 256, {}}, {"openraw", "Open raw spectrum...", 260, {}}}},
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
            {"activebackground", "Fit background with peaks", 275, {}, true}}},
          {"about", "About", 259, {}},
      }};
  return def;
}

void install_program_forms() {
  rt::install_form_definitions({&MAINFORM(), &FORM2(), &FORM3(), &FORM4(), &FORM5(), &FORM6()},
                               {&FORMMENU()});
}

}  // namespace forms
