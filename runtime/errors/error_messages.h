#pragma once
// The message text shown under the head line of an error report, keyed by error number.

namespace rt {

// The text for `number`, or nullptr for a number without one.
const char* error_message(int number);

}  // namespace rt
