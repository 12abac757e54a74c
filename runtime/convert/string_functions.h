#pragma once
// The string functions of the program. Text is UTF-8 inside the program; where a function
// counts bytes it counts as the program's code page would: an ASCII character and a half-width
// katakana are one byte, every other character one double-byte character (two bytes, one
// character). A byte that is not well-formed UTF-8 counts as a one-byte character of its own.

#include <cstdint>
#include <initializer_list>
#include <source_location>
#include <string>
#include <string_view>

namespace rt {

// Length in code-page bytes / in characters.
std::int32_t byte_length(std::string_view s);
std::int32_t char_length(std::string_view s);

// First / last min(n, length) bytes. A double-byte character that the count would split is
// left out. n < 0: error 5.
std::string left_part(std::string_view s, std::int32_t n,
                      std::source_location where = std::source_location::current());
std::string right_part(std::string_view s, std::int32_t n,
                       std::source_location where = std::source_location::current());

// Bytes from position start (1-based) on, at most count of them; empty beyond the end. A
// double-byte character that either end would split is left out. start < 1 or count < 0: error 5.
std::string middle_part(std::string_view s, std::int32_t start, std::int32_t count,
                        std::source_location where = std::source_location::current());
// The same counting characters.
std::string middle_chars(std::string_view s, std::int32_t start, std::int32_t count,
                         std::source_location where = std::source_location::current());

// First byte position p >= start where t occurs in s as whole characters, else 0. An empty t
// gives start while start <= byte_length(s), else 0 (position length + 1 is beyond the end, and
// an empty s has no position). start < 1: error 5.
std::int32_t find_text(std::int32_t start, std::string_view s, std::string_view t,
                       std::source_location where = std::source_location::current());

// The text of the given character codes (each 0..255; otherwise error 5). The codes are
// code-page bytes and the text is what they spell there, as a file's bytes would be read: a
// lead byte and a trail byte make one double-byte character, 0xA1..0xDF are half-width
// katakana, and a byte that spells nothing becomes U+FFFD.
std::string character(std::initializer_list<int> codes,
                      std::source_location where = std::source_location::current());

// Byte-wise unsigned comparison in the code page's order: negative, 0 or positive. A character
// the code page lacks sorts after all of its characters (by code point), a malformed byte last.
int compare_text(std::string_view a, std::string_view b);

}  // namespace rt
