#include "app/shell/event_table.h"

#include "app/files/axis_correction.h"
#include "app/files/fileopen.h"
#include "app/files/image_export.h"
#include "app/files/result_export.h"
#include "app/files/settings_file.h"
#include "app/fit/calc_ratio.h"
#include "app/shell/about.h"
#include "runtime/forms/events.h"

namespace app {
namespace {

struct Entry {
  const char* name;
  void (*procedure)();
};

// Each procedure is published under its event name; an event without a procedure is dropped.
const std::vector<Entry>& table() {
  static const std::vector<Entry> entries = {
      {"OPENFILE_ON", &OPENFILE_ON},
      {"SAVEASGRAPHICS_ON", &SAVEASGRAPHICS_ON},
      {"SAVEASTEXT_ON", &SAVEASTEXT_ON},
      {"ABOUT_ON", &ABOUT_ON},
      {"BUTTON3_ON", &BUTTON3_ON},
      {"BUTTON4_ON", &BUTTON4_ON},
      {"BUTTON22_ON", &BUTTON22_ON},
      {"BUTTON23_ON", &BUTTON23_ON},
      {"BUTTON24_ON", &BUTTON24_ON},
      {"BUTTON27_ON", &BUTTON27_ON},
      {"BUTTON28_ON", &BUTTON28_ON},
  };
  return entries;
}

}  // namespace

void publish_event_procedures() {
  for (const Entry& e : table()) rt::publish_procedure(e.name, e.procedure);
}

std::vector<std::string> event_procedure_names() {
  std::vector<std::string> names;
  for (const Entry& e : table()) names.push_back(e.name);
  return names;
}

}  // namespace app
