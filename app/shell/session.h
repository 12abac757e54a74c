#pragma once
// One run of the program: everything the program keeps between events lives in run-time and
// workspace globals, and a Session is the one owner of their lifetime. It installs the
// platform, the text renderer and the report sink, starts the program, and puts every global
// back to its state before start when it ends, so that a desktop run, a headless script, a
// test or a benchmark iteration each start from the same clean state.

#include <functional>

#include "runtime/errors/error_report.h"
#include "runtime/forms/platform.h"
#include "runtime/picture/text_renderer.h"

namespace app {

class Session {
 public:
  // Installs what is given; null leaves that service out (no platform: no windows on screen,
  // no dialogs; no renderer: text draws nothing). Error reports go to `sink`, by default to
  // the platform's report box. The caller keeps the platform and the renderer alive until the
  // session has ended.
  explicit Session(rt::Platform* platform = nullptr, rt::TextRenderer* text_renderer = nullptr,
                   rt::ReportSink sink = {});
  // Takes the windows down while the platform is still installed, then resets every global of
  // the run-time and the program and uninstalls the services.
  ~Session();
  Session(const Session&) = delete;
  Session& operator=(const Session&) = delete;

  // Creates the main window and runs the start-up statements. A run-time error during start-up
  // is reported like any procedure's; a quit request during it ends the start quietly (then
  // rt::quit_requested() is true). The events the start-up queued are left for the caller's
  // event loop. False when the program does not stand whole: memory ran out during start-up,
  // or the main window (with its menu) is missing; a caller then ends rather than run half
  // started.
  bool start();
};

// Puts every global of the run-time and the program back to its state before start, without
// touching the installed platform, renderer and report sink.
void reset_program_state();

}  // namespace app
