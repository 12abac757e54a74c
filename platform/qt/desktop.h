#pragma once
// The desktop program: the run-time's windows shown with Qt widgets.

#include <string>

// Creates the application, installs the Qt platform, starts the program and runs the event
// loop until the user closes the main window. With a record path, every user action is
// written there as an action-script line. Returns the process's exit status.
int run_desktop(int argc, char** argv, const std::string& record_path = {});
