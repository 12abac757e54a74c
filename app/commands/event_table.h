#pragma once

#include <string>
#include <utility>
#include <vector>

namespace app {

// Publishes every event procedure of the program under its window and event name.
void publish_event_procedures();

// The event names the program answers, each once (for tests and diagnostics).
std::vector<std::string> event_procedure_names();
// Every (window, event name) the program answers.
std::vector<std::pair<std::string, std::string>> event_procedure_windows();

}  // namespace app
