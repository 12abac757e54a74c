#pragma once
// The string functions of the program. Text is UTF-8 inside the program; where a function
// counts bytes it counts as the program's code page would: an ASCII character is one byte,
// every other character one double-byte character (two bytes, one character).

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

// Bytes from position start (1-based) on, at most count of them; empty beyond the end.
// start < 1 or count < 0: error 5.
std::string middle_part(std::string_view s, std::int32_t start, std::int32_t count,
                        std::source_location where = std::source_location::current());
// The same counting characters.
std::string middle_chars(std::string_view s, std::int32_t start, std::int32_t count,
                         std::source_location where = std::source_location::current());

// First byte position p >= start where t occurs in s, else 0. start < 1: error 5.
std::int32_t find_text(std::int32_t start, std::string_view s, std::string_view t,
                       std::source_location where = std::source_location::current());

// The text of the given character codes (each 0..255; above: error 5). Codes above 127 are
// taken as the Latin-1 characters of those numbers.
std::string character(std::initializer_list<int> codes,
                      std::source_location where = std::source_location::current());

// Byte-wise unsigned comparison in the code page's order: negative, 0 or positive.
int compare_text(std::string_view a, std::string_view b);

}  // namespace rt
