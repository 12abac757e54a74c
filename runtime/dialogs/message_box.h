#pragma once

#include <source_location>
#include <string_view>

#include "runtime/forms/objects.h"
#include "runtime/forms/platform.h"

namespace rt {

// Buttons 0-5 and icon 0-4 (else error 5); returns the chosen button (MessageBoxResult).
int message_box(ObjRef owner, std::string_view caption, std::string_view text, int buttons,
                int icon, std::source_location where = std::source_location::current());

}  // namespace rt
