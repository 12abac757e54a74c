#pragma once
// The program's form definitions and the main window's menu.

#include "runtime/forms/form_definition.h"

namespace forms {

const rt::FormDef& MAINFORM();  // the main window with the graph
const rt::FormDef& FORM2();     // "Peak setting": the peak table and the commands
const rt::FormDef& FORM3();     // "Graph setting": axis ranges and steps
const rt::FormDef& FORM4();     // "About"
const rt::FormDef& FORM5();     // "Raw spectrum": the window and background of a raw load
const rt::FormDef& FORM6();     // "Fit report", opened from the "Fit" menu
const rt::FormDef& FORM7();     // "Components": up to 20 components, their links and doublets
const rt::FormDef& FORM8();     // "Fit view": data, background, envelope and residual
const rt::MenuDef& FORMMENU();  // the main window's menu

// Hands all of them to the run-time.
void install_program_forms();

}  // namespace forms
