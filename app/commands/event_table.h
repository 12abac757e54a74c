#pragma once

#include <string>
#include <vector>

namespace app {

// Publishes every event procedure of the program under its event name.
void publish_event_procedures();

// The event names the program answers (the table above, for tests and diagnostics).
std::vector<std::string> event_procedure_names();

}  // namespace app
