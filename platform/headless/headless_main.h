#pragma once

#include <string>

namespace headless {

// `tessaly --run SCRIPT`: starts the program without a screen and performs the script
// ("-" reads standard input). Returns the exit status (0, 1 or 2).
int run_headless(const std::string& script, int argc, char** argv);

}  // namespace headless
