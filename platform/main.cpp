// Tessaly: with --run SCRIPT the program runs headless and performs the action script; as
// `tessaly batch ...` it fits many spectra headless; otherwise it starts on the desktop.

#include <csignal>
#include <cstring>
#include <iostream>
#include <string>

#include "platform/batch/batch_main.h"
#include "platform/headless/headless_main.h"
#include "platform/qt/desktop.h"

int main(int argc, char** argv) {
  // A write to a pipe whose reader has gone must fail as a run-time error, not end the program.
  std::signal(SIGPIPE, SIG_IGN);
  if (argc > 1 && std::strcmp(argv[1], "batch") == 0) return batch::run_batch(argc, argv, 2);
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
