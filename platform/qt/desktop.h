#pragma once
// The desktop program: the run-time's windows shown with Qt widgets.

// Creates the application, installs the Qt platform, starts the program and runs the event
// loop until the user closes the main window. Returns the process's exit status.
int run_desktop(int argc, char** argv);
