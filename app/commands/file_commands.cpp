#include "app/commands/file_commands.h"

#include "app/commands/analysis_file.h"
#include "app/commands/chosen_files.h"
#include "app/commands/fit_report_window.h"
#include "app/commands/raw_window.h"
#include "app/files/axis_correction.h"
#include "app/files/fit_report_file.h"
#include "app/files/image_export.h"
#include "app/files/result_export.h"
#include "app/files/settings_file.h"
#include "app/files/spectrum_load.h"
#include "app/graph/drawgraph.h"
#include "app/workspace/control_refs.h"
#include "app/workspace/workspace.h"
#include "runtime/convert/arithmetic.h"
#include "runtime/convert/text_to_number.h"
#include "runtime/dialogs/message_box.h"
#include "runtime/forms/control_values.h"

namespace app {

void FILEOPEN() {
  load_chosen_spectrum();
  update_fit_report_window();
  DRAWGRAPH();
}

void OPENFILE_ON() { FILEOPEN(); }
void BUTTON3_ON() { FILEOPEN(); }

void OPENRAW_ON() { show_raw_window(); }

void open_raw_spectrum() {
  load_chosen_raw_spectrum();
  update_fit_report_window();
  DRAWGRAPH();
}

void BUTTON4_ON() {
  Workspace& w = workspace();
  const float d = rt::to_single(rt::val(rt::get_text(EDIT(11))));
  shift_spectrum_x(w, d);
  if (rt::message_box(controls().form2, "Confirm", "Correct axis of peaks?", rt::kButtonsYesNo,
                      rt::kIconQuestion) == rt::kYes)
    shift_peak_centres(d);
  DRAWGRAPH();
}

void SAVEASTEXT_ON() { export_result_text(rt::kNullRef); }
void BUTTON28_ON() { export_result_text(controls().form2); }

void SAVEASGRAPHICS_ON() { export_graph_image(rt::kNullRef); }
void BUTTON24_ON() { export_graph_image(controls().form2); }

void BUTTON22_ON() { save_settings_as(); }
void BUTTON23_ON() { load_settings_from_chosen_file(); }

void SAVEANALYSIS_ON() { save_analysis_as(); }

void OPENANALYSIS_ON() {
  if (!open_analysis_from_chosen_file()) return;
  update_fit_report_window();
  // A session saved before any spectrum was loaded had nothing drawn, and has nothing to draw.
  if (!workspace().FILEPATH.empty()) DRAWGRAPH();
}

void SAVEREPORT_ON() { export_fit_report(rt::kNullRef); }

}  // namespace app
