// Tessaly: with --run SCRIPT the program runs headless and performs the action script;
// otherwise it starts on the desktop.

#include <cstring>
#include <iostream>
#include <string>

#include "platform/headless/headless_main.h"
#include "platform/qt/desktop.h"
#include "runtime/files/failed_write_signals.h"

int main(int argc, char** argv) {
  rt::ignore_failed_write_signals();
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--run") == 0) {
      if (i + 1 >= argc) {
        std::cerr << "usage: tessaly [--run SCRIPT]\n";
        return 2;
      }
      return headless::run_headless(argv[i + 1], argc, argv);
    }
  }
  return run_desktop(argc, argv);
}
