#pragma once
// Reading a whole file into memory at once, for the readers that look at a file as lines
// rather than as a stream of fields.

#include <cstddef>
#include <optional>
#include <source_location>
#include <string>
#include <string_view>

namespace rt {

// The file's bytes, or nothing when it holds more than `max_bytes` (then nothing more is read).
// The name is made absolute against the current directory. A file that cannot be opened or
// read raises the same errors as the file channels (63 not found, 75 access denied, ...).
std::optional<std::string> read_whole_file(
    std::string_view name, std::size_t max_bytes,
    std::source_location where = std::source_location::current());

}  // namespace rt
