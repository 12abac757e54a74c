#pragma once

#include <source_location>
#include <string_view>

#include "runtime/forms/objects.h"
#include "runtime/forms/platform.h"

namespace rt {

// Shows a message box and returns the chosen button (MessageBoxResult). A style outside the
// enums (a cast number) is error 5.
int message_box(ObjRef owner, std::string_view caption, std::string_view text,
                MessageBoxButtons buttons, MessageBoxIcon icon,
                std::source_location where = std::source_location::current());

}  // namespace rt
