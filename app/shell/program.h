#pragma once
// The program as a whole: what the platform calls to start it.

namespace app {

// Installs the form definitions and the table of event procedures, creates and shows the main
// window and runs the start-up statements. The platform then runs the event loop until the
// main window is gone (rt::quit_requested()).
void start_program();

}  // namespace app
