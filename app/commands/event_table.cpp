#include "app/commands/event_table.h"

#include "app/commands/about_commands.h"
#include "app/commands/component_commands.h"
#include "app/commands/file_commands.h"
#include "app/commands/fit_commands.h"
#include "app/commands/graph_commands.h"
#include "app/commands/peak_table_commands.h"
#include "app/commands/raw_window.h"
#include "app/commands/undo_history.h"
#include "app/commands/window_commands.h"
#include "app/workspace/control_refs.h"
#include "runtime/forms/events.h"

namespace app {
namespace {

// "FITTING" on the peak-setting window and "Open..." on the raw-spectrum window are both
// BUTTON1, so both raise BUTTON1_ON.
void button1_pressed() {
  if (is_raw_open_button(rt::event_element()))
    open_raw_spectrum();
  else if (is_add_doublet_button(rt::event_element()))
    add_doublet();
  else
    BUTTON1_ON();
}

// The fit view's picture is a PICTURE1 too: only the graph's mouse edits peaks.
template <void (*procedure)()>
void on_graph() {
  if (rt::event_element() == PICTURE(1)) procedure();
}

struct Entry {
  const char* name;
  void (*procedure)();
};

// Each procedure is published under its event name; an event without a procedure is dropped.
const std::vector<Entry>& table() {
  static const std::vector<Entry> entries = {
      {"OPENFILE_ON", &OPENFILE_ON},
      {"OPENRAW_ON", &OPENRAW_ON},
      {"OPENANALYSIS_ON", &OPENANALYSIS_ON},
      {"SAVEANALYSIS_ON", &SAVEANALYSIS_ON},
      {"SAVEASGRAPHICS_ON", &SAVEASGRAPHICS_ON},
      {"SAVEASTEXT_ON", &SAVEASTEXT_ON},
      {"ABOUT_ON", &ABOUT_ON},
      {"REFINE_ON", &REFINE_ON},
      {"SAVEREPORT_ON", &SAVEREPORT_ON},
      {"FITREPORT_ON", &FITREPORT_ON},
      {"FITVIEW_ON", &FITVIEW_ON},
      {"SAVEFIGURE_ON", &SAVEFIGURE_ON},
      {"WEIGHTCOUNTS_ON", &WEIGHTCOUNTS_ON},
      {"ACTIVEBACKGROUND_ON", &ACTIVEBACKGROUND_ON},
      {"BUTTON3_ON", &BUTTON3_ON},
      {"BUTTON1_ON", &button1_pressed},
      {"BUTTON4_ON", &BUTTON4_ON},
      {"BUTTON5_ON", &BUTTON5_ON},
      {"BUTTON6_ON", &BUTTON6_ON},
      {"BUTTON7_ON", &BUTTON7_ON},
      {"BUTTON8_ON", &BUTTON8_ON},
      {"BUTTON9_ON", &BUTTON9_ON},
      {"BUTTON10_ON", &BUTTON10_ON},
      {"BUTTON11_ON", &BUTTON11_ON},
      {"BUTTON12_ON", &BUTTON12_ON},
      {"BUTTON13_ON", &BUTTON13_ON},
      {"BUTTON14_ON", &BUTTON14_ON},
      {"BUTTON15_ON", &BUTTON15_ON},
      {"BUTTON16_ON", &BUTTON16_ON},
      {"BUTTON17_ON", &BUTTON17_ON},
      {"BUTTON18_ON", &BUTTON18_ON},
      {"BUTTON19_ON", &BUTTON19_ON},
      {"BUTTON20_ON", &BUTTON20_ON},
      {"BUTTON21_ON", &BUTTON21_ON},
      {"BUTTON22_ON", &BUTTON22_ON},
      {"BUTTON23_ON", &BUTTON23_ON},
      {"BUTTON24_ON", &BUTTON24_ON},
      {"CHECK3_ON", &CHECK3_ON},
      {"CHECK4_ON", &CHECK4_ON},
      {"CHECK5_ON", &CHECK5_ON},
      {"CHECK6_ON", &CHECK6_ON},
      {"CHECK7_ON", &CHECK7_ON},
      {"CHECK8_ON", &CHECK8_ON},
      {"CHECK9_ON", &CHECK9_ON},
      {"CHECK10_ON", &CHECK10_ON},
      {"CHECK11_ON", &CHECK11_ON},
      {"CHECK12_ON", &CHECK12_ON},
      {"CHECK13_ON", &CHECK13_ON},
      {"CHECK14_ON", &CHECK14_ON},
      {"CHECK15_ON", &CHECK15_ON},
      {"CHECK16_ON", &CHECK16_ON},
      {"CHECK17_ON", &CHECK17_ON},
      {"BUTTON27_ON", &BUTTON27_ON},
      {"BUTTON28_ON", &BUTTON28_ON},
      {"PICTURE1_MOUSEDOWN", &on_graph<&PICTURE1_MOUSEDOWN>},
      {"PICTURE1_MOUSEMOVE", &on_graph<&PICTURE1_MOUSEMOVE>},
      {"PICTURE1_MOUSEUP", &on_graph<&PICTURE1_MOUSEUP>},
      {"BUTTON2_ON", &BUTTON2_ON},
      {"BUTTON26_ON", &BUTTON26_ON},
      {"BUTTON29_ON", &BUTTON29_ON},
      {"SHOWPEAKS_ON", &SHOWPEAKS_ON},
      {"SHOWGRAPHSETTING_ON", &SHOWGRAPHSETTING_ON},
      {"SHOWRAWSPECTRUM_ON", &SHOWRAWSPECTRUM_ON},
      {"SHOWFITREPORT_ON", &SHOWFITREPORT_ON},
      {"SHOWFITVIEW_ON", &SHOWFITVIEW_ON},
      {"EXIT_ON", &EXIT_ON},
      {"MANUAL_ON", &MANUAL_ON},
      {"UNDO_ON", &UNDO_ON},
      {"REDO_ON", &REDO_ON},
      {"COMPONENTS_ON", &COMPONENTS_ON},
      {"SHOWCOMPONENTS_ON", &SHOWCOMPONENTS_ON},
#define COMPONENT_AS_BOX(k)                                         \
  {                                                                 \
    "CHECK" #k "_ON", [] { component_asymmetric_clicked(k - 100); } \
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
      rt::publish_procedure(e.name, e.procedure);
      continue;
    }
    rt::publish_procedure(e.name, [name = std::string(e.name), procedure = e.procedure] {
      run_as_undo_step(name, procedure);
    });
  }
}

std::vector<std::string> event_procedure_names() {
  std::vector<std::string> names;
  for (const Entry& e : table()) names.push_back(e.name);
  return names;
}

}  // namespace app
