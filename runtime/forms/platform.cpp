#include "runtime/forms/platform.h"

#include "runtime/state/runtime_state.h"

namespace rt {

Platform* platform() {
  const RuntimeState* s = current_state();
  return s ? s->platform : nullptr;
}

}  // namespace rt
