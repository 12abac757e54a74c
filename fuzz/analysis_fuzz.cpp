// Any bytes as an analysis file, opened over a known session: the open never crashes or hangs,
// a refused document raises error 5 or its spectrum's error with a detail that names the
// document, and changes neither the workspace nor any control; an accepted document reads back
// from its own writing as the same text.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "app/commands/analysis_file.h"
#include "app/files/analysis_json.h"
#include "app/shell/session.h"
#include "app/workspace/workspace.h"
#include "fuzz/memory_file.h"
#include "runtime/errors/runtime_error.h"
#include "runtime/files/file_channels.h"
#include "runtime/forms/objects.h"

namespace {

const std::string kPath = "/fuzz/analysis.json";

// Every control's text and state, to compare after a refused open.
std::vector<std::string> control_values() {
  std::vector<std::string> out;
  for (rt::Form* form : rt::live_forms())
    for (const auto& c : form->controls()) {
      out.push_back(c->text());
      out.push_back(std::to_string(c->check_state()));
    }
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  static app::Session session;
  session.start();
  // The spectra the seeds name, beside the document: a record file and a raw one.
  rt::hold_memory_file("/fuzz/two_peaks.bgd",
                       "284,10,1\r\n284.5,40,1\r\n285,100,1\r\n285.5,45,1\r\n286,12,1\r\n");
  rt::hold_memory_file("/fuzz/raw.csv",
                       "x,y\n283,20\n283.5,21\n284,40\n284.5,90\n285,160\n285.5,95\n286,50\n"
                       "286.5,33\n287,31\n287.5,30\n");
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const app::Workspace before = app::workspace();
  const std::vector<std::string> controls = control_values();

  rt::hold_memory_file(kPath, std::string(bytes));
  try {
    app::open_analysis(kPath);
  } catch (const rt::RuntimeError& e) {
    if (e.detail().rfind("analysis.json: ", 0) != 0) __builtin_trap();
    if (!(app::workspace() == before) || control_values() != controls) __builtin_trap();
  }
  if (!rt::open_file_numbers().empty()) __builtin_trap();

  // What the reader accepts, the writer writes so that the reader takes it back unchanged.
  std::string text;
  try {
    text = app::analysis_json_text(app::parse_analysis(bytes, "analysis.json"));
  } catch (const rt::RuntimeError&) {
    return 0;
  }
  try {
    if (app::analysis_json_text(app::parse_analysis(text, "analysis.json")) != text)
      __builtin_trap();
  } catch (const rt::RuntimeError&) {
    __builtin_trap();
  }
  return 0;
}
