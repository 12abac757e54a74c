#include "runtime/errors/error_messages.h"

#include <algorithm>
#include <array>

namespace rt {
namespace {

struct Message {
  int number;
  const char* text;
};

constexpr std::array kMessages = {
    Message{5, "Invalid procedure call or argument."},
    Message{6, "Overflow: a number is too large for its destination."},
    Message{7, "Out of memory."},
    Message{9, "Subscript out of range: an array index lies outside the array's bounds."},
    Message{11, "Division by zero."},
    Message{13, "Type mismatch: wrong kind of string variable for the operation."},
    Message{15, "String too long."},
    Message{27, "An operation on a window or device failed."},
    Message{28, "The operation is not supported by the device."},
    Message{50, "Bad file number: file numbers run from 1 to 255."},
    Message{51, "The operation is not allowed in the file's open mode."},
    Message{52, "The file number is already in use."},
    Message{54, "Input past end of file."},
    Message{55, "Bad file name."},
    Message{57, "The file cannot be created."},
    Message{58, "A field read as a number is empty or is not a number."},
    Message{59, "The drive is locked."},
    Message{60, "The device is not available."},
    Message{61, "Buffer overflow."},
    Message{63, "File not found."},
    Message{64, "The file already exists."},
    Message{66, "Too many files are open."},
    Message{67, "Disk full, or the write failed."},
    Message{71, "Bad format: not a disk of the expected kind."},
    Message{72, "The drive or device is not ready."},
    Message{73, "The disk is write-protected."},
    Message{75, "Access denied."},
    Message{1000, "The object referred to does not exist, or its window has been closed."},
    Message{1001, "The reference is already bound to another object."},
    Message{1002, "The operation is not available for this kind of object."},
    Message{1003, "No reference variable was given."},
    Message{1004, "The object could not be registered."},
    Message{1005, "The object's window does not exist."},
    Message{1006, "The operation is not available in the object's current drawing state."},
    Message{1013, "The form has no control of that name."},
    Message{1014, "The form definition is malformed."},
};

constexpr bool sorted_and_unique() {
  for (std::size_t i = 1; i < kMessages.size(); ++i)
    if (kMessages[i - 1].number >= kMessages[i].number) return false;
  return true;
}
static_assert(sorted_and_unique(), "error messages must be sorted by number, each number once");

}  // namespace

const char* error_message(int number) {
  auto it = std::lower_bound(kMessages.begin(), kMessages.end(), number,
                             [](const Message& m, int n) { return m.number < n; });
  return it != kMessages.end() && it->number == number ? it->text : nullptr;
}

}  // namespace rt
