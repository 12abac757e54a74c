#pragma once

#include <string>

namespace headless {

// `tessaly --run SCRIPT`: starts the program without a screen, performs the script ("-" reads
// standard input) and ends the process with the exit status (0, 1 or 2).
[[noreturn]] void run_headless(const std::string& script, int argc, char** argv);

}  // namespace headless
