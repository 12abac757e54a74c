#include "app/commands/event_table.h"

#include <algorithm>

#include "app/commands/about_commands.h"
#include "app/commands/component_commands.h"
#include "app/commands/file_commands.h"
#include "app/commands/fit_commands.h"
#include "app/commands/graph_commands.h"
#include "app/commands/peak_table_commands.h"
#include "app/commands/raw_window.h"
#include "app/commands/undo_history.h"
#include "app/commands/window_commands.h"
#include "runtime/forms/events.h"

namespace app {
namespace {

struct Entry {
  const char* window;
  const char* name;
  void (*procedure)();
};

// Each procedure is published under its window and event name; an event without a procedure
// is dropped. The menu is the main window's.
const std::vector<Entry>& table() {
  static const std::vector<Entry> entries = {
      {"MAINFORM", "OPENFILE_ON", &OPENFILE_ON},
      {"MAINFORM", "OPENRAW_ON", &OPENRAW_ON},
      {"MAINFORM", "OPENANALYSIS_ON", &OPENANALYSIS_ON},
      {"MAINFORM", "SAVEANALYSIS_ON", &SAVEANALYSIS_ON},
      {"MAINFORM", "SAVEASGRAPHICS_ON", &SAVEASGRAPHICS_ON},
      {"MAINFORM", "SAVEASTEXT_ON", &SAVEASTEXT_ON},
      {"MAINFORM", "ABOUT_ON", &ABOUT_ON},
      {"MAINFORM", "REFINE_ON", &REFINE_ON},
      {"MAINFORM", "SAVEREPORT_ON", &SAVEREPORT_ON},
      {"FORM6", "SAVEREPORT_ON", &SAVEREPORT_ON},
      {"MAINFORM", "FITREPORT_ON", &FITREPORT_ON},
      {"MAINFORM", "FITVIEW_ON", &FITVIEW_ON},
      {"MAINFORM", "SAVEFIGURE_ON", &SAVEFIGURE_ON},
      {"MAINFORM", "WEIGHTCOUNTS_ON", &WEIGHTCOUNTS_ON},
      {"MAINFORM", "ACTIVEBACKGROUND_ON", &ACTIVEBACKGROUND_ON},
      {"FORM2", "BUTTON3_ON", &BUTTON3_ON},
      {"FORM2", "BUTTON1_ON", &BUTTON1_ON},
      {"FORM5", "BUTTON1_ON", &open_raw_spectrum},
      {"FORM7", "BUTTON1_ON", &add_doublet},
      {"FORM2", "BUTTON4_ON", &BUTTON4_ON},
      {"FORM2", "BUTTON5_ON", &BUTTON5_ON},
      {"FORM2", "BUTTON6_ON", &BUTTON6_ON},
      {"FORM2", "BUTTON7_ON", &BUTTON7_ON},
      {"FORM2", "BUTTON8_ON", &BUTTON8_ON},
      {"FORM2", "BUTTON9_ON", &BUTTON9_ON},
      {"FORM2", "BUTTON10_ON", &BUTTON10_ON},
      {"FORM2", "BUTTON11_ON", &BUTTON11_ON},
      {"FORM2", "BUTTON12_ON", &BUTTON12_ON},
      {"FORM2", "BUTTON13_ON", &BUTTON13_ON},
      {"FORM2", "BUTTON14_ON", &BUTTON14_ON},
      {"FORM2", "BUTTON15_ON", &BUTTON15_ON},
      {"FORM2", "BUTTON16_ON", &BUTTON16_ON},
      {"FORM2", "BUTTON17_ON", &BUTTON17_ON},
      {"FORM2", "BUTTON18_ON", &BUTTON18_ON},
      {"FORM2", "BUTTON19_ON", &BUTTON19_ON},
      {"FORM2", "BUTTON20_ON", &BUTTON20_ON},
      {"FORM2", "BUTTON21_ON", &BUTTON21_ON},
      {"FORM2", "BUTTON22_ON", &BUTTON22_ON},
      {"FORM2", "BUTTON23_ON", &BUTTON23_ON},
      {"FORM2", "BUTTON24_ON", &BUTTON24_ON},
      {"FORM2", "CHECK3_ON", &CHECK3_ON},
      {"FORM2", "CHECK4_ON", &CHECK4_ON},
      {"FORM2", "CHECK5_ON", &CHECK5_ON},
      {"FORM2", "CHECK6_ON", &CHECK6_ON},
      {"FORM2", "CHECK7_ON", &CHECK7_ON},
      {"FORM2", "CHECK8_ON", &CHECK8_ON},
      {"FORM2", "CHECK9_ON", &CHECK9_ON},
      {"FORM2", "CHECK10_ON", &CHECK10_ON},
      {"FORM2", "CHECK11_ON", &CHECK11_ON},
      {"FORM2", "CHECK12_ON", &CHECK12_ON},
      {"FORM2", "CHECK13_ON", &CHECK13_ON},
      {"FORM2", "CHECK14_ON", &CHECK14_ON},
      {"FORM2", "CHECK15_ON", &CHECK15_ON},
      {"FORM2", "CHECK16_ON", &CHECK16_ON},
      {"FORM2", "CHECK17_ON", &CHECK17_ON},
      {"FORM2", "BUTTON27_ON", &BUTTON27_ON},
      {"FORM2", "BUTTON28_ON", &BUTTON28_ON},
      {"MAINFORM", "PICTURE1_MOUSEDOWN", &PICTURE1_MOUSEDOWN},
      {"MAINFORM", "PICTURE1_MOUSEMOVE", &PICTURE1_MOUSEMOVE},
      {"MAINFORM", "PICTURE1_MOUSEUP", &PICTURE1_MOUSEUP},
      {"FORM3", "BUTTON2_ON", &BUTTON2_ON},
      {"FORM3", "BUTTON26_ON", &BUTTON26_ON},
      {"FORM2", "BUTTON29_ON", &BUTTON29_ON},
      {"MAINFORM", "SHOWPEAKS_ON", &SHOWPEAKS_ON},
      {"MAINFORM", "SHOWGRAPHSETTING_ON", &SHOWGRAPHSETTING_ON},
      {"MAINFORM", "SHOWRAWSPECTRUM_ON", &SHOWRAWSPECTRUM_ON},
      {"MAINFORM", "SHOWFITREPORT_ON", &SHOWFITREPORT_ON},
      {"MAINFORM", "SHOWFITVIEW_ON", &SHOWFITVIEW_ON},
      {"MAINFORM", "EXIT_ON", &EXIT_ON},
      {"MAINFORM", "MANUAL_ON", &MANUAL_ON},
      {"MAINFORM", "UNDO_ON", &UNDO_ON},
      {"MAINFORM", "REDO_ON", &REDO_ON},
      {"MAINFORM", "COMPONENTS_ON", &COMPONENTS_ON},
      {"MAINFORM", "SHOWCOMPONENTS_ON", &SHOWCOMPONENTS_ON},
#define COMPONENT_AS_BOX(k)                                                  \
  {                                                                          \
    "FORM7", "CHECK" #k "_ON", [] { component_asymmetric_clicked((k)-100); } \
  }
      COMPONENT_AS_BOX(101),
      COMPONENT_AS_BOX(102),
      COMPONENT_AS_BOX(103),
      COMPONENT_AS_BOX(104),
      COMPONENT_AS_BOX(105),
      COMPONENT_AS_BOX(106),
      COMPONENT_AS_BOX(107),
      COMPONENT_AS_BOX(108),
      COMPONENT_AS_BOX(109),
      COMPONENT_AS_BOX(110),
      COMPONENT_AS_BOX(111),
      COMPONENT_AS_BOX(112),
      COMPONENT_AS_BOX(113),
      COMPONENT_AS_BOX(114),
      COMPONENT_AS_BOX(115),
      COMPONENT_AS_BOX(116),
      COMPONENT_AS_BOX(117),
      COMPONENT_AS_BOX(118),
      COMPONENT_AS_BOX(119),
      COMPONENT_AS_BOX(120),
#undef COMPONENT_AS_BOX
  };
  return entries;
}

}  // namespace

void publish_event_procedures() {
  for (const Entry& e : table()) {
    // Undo and redo move through the steps; every other procedure is a step.
    if (e.procedure == &UNDO_ON || e.procedure == &REDO_ON) {
      rt::publish_procedure(e.window, e.name, e.procedure);
      continue;
    }
    rt::publish_procedure(e.window, e.name, [name = std::string(e.name), procedure = e.procedure] {
      run_as_undo_step(name, procedure);
    });
  }
}

std::vector<std::string> event_procedure_names() {
  std::vector<std::string> names;
  for (const Entry& e : table())
    if (std::find(names.begin(), names.end(), e.name) == names.end()) names.push_back(e.name);
  return names;
}

std::vector<std::pair<std::string, std::string>> event_procedure_windows() {
  std::vector<std::pair<std::string, std::string>> out;
  for (const Entry& e : table()) out.emplace_back(e.window, e.name);
  return out;
}

}  // namespace app
