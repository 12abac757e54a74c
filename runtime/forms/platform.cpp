#include "runtime/forms/platform.h"

namespace rt {
namespace {
Platform* g_platform = nullptr;
}

void set_platform(Platform* platform) { g_platform = platform; }
Platform* platform() { return g_platform; }

}  // namespace rt
