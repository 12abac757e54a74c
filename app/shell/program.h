#pragma once
// The program as a whole: everything it knows between events, in one value, and what the
// platform calls to start it.

#include "app/commands/app_state.h"
#include "runtime/forms/platform.h"
#include "runtime/picture/text_renderer.h"
#include "runtime/state/runtime_state.h"

namespace app {

// One run's state: the run-time's (objects, events, channels, reports, platform, text
// renderer) and the application's (workspace, control references, last fit, undo history).
// Nothing of either lives anywhere else, so programs on two threads share nothing.
class Program {
 public:
  // The platform shows this program for its whole life (null: nothing is shown); the caller
  // keeps it and the renderer alive until the program is gone.
  explicit Program(rt::Platform* platform = nullptr, rt::TextRenderer* text_renderer = nullptr);
  // Takes the windows down (the platform is told) and closes what is still open.
  ~Program();
  Program(const Program&) = delete;
  Program& operator=(const Program&) = delete;

  rt::RuntimeState& runtime() { return runtime_; }
  AppState& app() { return app_; }

 private:
  AppState app_;
  rt::RuntimeState runtime_;
};

// Installs the form definitions and the table of event procedures, creates and shows the main
// window and runs the start-up statements, in the current program. The platform then runs the
// event loop until the main window is gone (rt::quit_requested()).
void start_program();

}  // namespace app
