#pragma once
// Text crosses the file boundary here: inside the program it is UTF-8, in files it is the
// Japanese code page 932. ASCII passes unchanged both ways (0x5C stays a backslash, 0x7E a tilde).

#include <source_location>
#include <string>
#include <string_view>

namespace rt {

// A character that the code page cannot hold becomes "?", as the platform's own code-page
// conversion writes it; so does each byte of malformed UTF-8.
std::string utf8_to_cp932(std::string_view text,
                          std::source_location where = std::source_location::current());

// A byte that starts no character of the code page becomes U+FFFD, one per byte, and the next
// byte is read afresh (so a lone lead byte never swallows a following blank or comma). A lead
// byte with a proper trail byte whose pair the code page leaves unassigned gives one U+FFFD.
std::string cp932_to_utf8(std::string_view bytes,
                          std::source_location where = std::source_location::current());

}  // namespace rt
