#include "runtime/state/runtime_state.h"

#include "runtime/picture/image.h"

namespace rt {

namespace state_detail {
constinit thread_local RuntimeState* current = nullptr;
}

RuntimeState::RuntimeState(Platform* shown_on, TextRenderer* renderer)
    : platform(shown_on), text_renderer(renderer) {}

RuntimeState::~RuntimeState() = default;

}  // namespace rt
