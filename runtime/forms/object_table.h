#pragma once
// Object-table services for the run-time's own use.

#include "runtime/forms/objects.h"

namespace rt {

// The control behind a reference, or nullptr when it is not a live control (no error).
Control* live_control(ObjRef ref);

// Frees destroyed forms and images; called between events, when no procedure can hold them.
void collect_destroyed_objects();

}  // namespace rt
