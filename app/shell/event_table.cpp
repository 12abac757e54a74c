#include "app/shell/event_table.h"

#include "app/files/fileopen.h"
#include "app/fit/calc_ratio.h"
#include "app/graph/graph_settings.h"
#include "app/graph/mouse_editing.h"
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
      {"ABOUT_ON", &ABOUT_ON},
      {"BUTTON3_ON", &BUTTON3_ON},
      {"BUTTON27_ON", &BUTTON27_ON},
      {"PICTURE1_MOUSEDOWN", &PICTURE1_MOUSEDOWN},
      {"PICTURE1_MOUSEMOVE", &PICTURE1_MOUSEMOVE},
      {"PICTURE1_MOUSEUP", &PICTURE1_MOUSEUP},
      {"BUTTON2_ON", &BUTTON2_ON},
      {"BUTTON26_ON", &BUTTON26_ON},
      {"BUTTON29_ON", &BUTTON29_ON},
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
