#include "runtime/picture/text_renderer.h"

namespace rt {
namespace {
TextRenderer* installed_renderer = nullptr;
}

void set_text_renderer(TextRenderer* renderer) { installed_renderer = renderer; }
TextRenderer* text_renderer() { return installed_renderer; }

}  // namespace rt
