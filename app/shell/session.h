#pragma once
// One run of the program. A Session owns the program's whole state (a Program: the run-time's
// and the application's) and makes it current on the thread that creates it, so that the
// run-time's functions, workspace() and controls() reach this run's state; it puts back
// whatever was current before when it ends. A desktop run, a headless script, a test and each
// batch worker thread all hold one, and each starts from the same clean state.

#include <memory>

#include "runtime/errors/error_report.h"
#include "runtime/forms/platform.h"
#include "runtime/picture/text_renderer.h"
#include "runtime/state/runtime_state.h"

namespace app {

class Program;

class Session {
 public:
  // The program is shown on `platform` for the session's whole life (null: no windows on
  // screen, no dialogs; no renderer: text draws nothing). Error reports go to `sink`, by
  // default to the platform's report box. The caller keeps the platform and the renderer alive
  // until the session has ended. The session is current on this thread until it ends; a
  // session lives and is used on one thread.
  explicit Session(rt::Platform* platform = nullptr, rt::TextRenderer* text_renderer = nullptr,
                   rt::ReportSink sink = {});
  // Takes the windows down while the platform is still there, then frees the whole state.
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

  Program& program() { return *program_; }

 private:
  // Held apart so that the platform's files need not see the application's types.
  std::unique_ptr<Program> program_;
  rt::CurrentState current_;
};

}  // namespace app
