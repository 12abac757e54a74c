#pragma once
// Walking UTF-8 text character by character while counting as the program's code page would.
// The code page has two kinds of characters: single-byte ones (ASCII and the half-width
// katakana) and double-byte ones (everything else it can encode). A byte that does not begin a
// well-formed UTF-8 sequence is taken as a single-byte character of its own, so that every
// text, however damaged, has one well-defined walk.

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace rt {

struct CodePageChar {
  char32_t code = 0;            // the code point, or the byte itself when !well_formed
  std::uint8_t utf8_bytes = 0;  // bytes of the UTF-8 text that this character occupies
  std::uint8_t width = 0;       // bytes in the code page: 1 or 2
  bool well_formed = false;
};

inline constexpr char32_t kIdeographicBlank = 0x3000;

// Code page width of a well-formed character.
constexpr std::uint8_t code_page_width(char32_t c) {
  if (c < 0x80) return 1;
  if (c >= 0xFF61 && c <= 0xFF9F) return 1;  // half-width katakana are single bytes
  return 2;
}

// Decodes the character at s[pos] (pos < s.size()). Overlong forms, surrogates and values above
// U+10FFFF are not well-formed.
inline CodePageChar decode_char(std::string_view s, std::size_t pos) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(s[i]); };
  const unsigned char b0 = byte(pos);
  const CodePageChar stray{b0, 1, 1, false};
  if (b0 < 0x80) return {b0, 1, 1, true};
  int extra;
  char32_t code;
  char32_t minimum;
  if (b0 >= 0xC2 && b0 <= 0xDF) {
    extra = 1, code = b0 & 0x1F, minimum = 0x80;
  } else if (b0 >= 0xE0 && b0 <= 0xEF) {
    extra = 2, code = b0 & 0x0F, minimum = 0x800;
  } else if (b0 >= 0xF0 && b0 <= 0xF4) {
    extra = 3, code = b0 & 0x07, minimum = 0x10000;
  } else {
    return stray;
  }
  if (s.size() - pos <= static_cast<std::size_t>(extra)) return stray;
  for (int k = 1; k <= extra; ++k) {
    const unsigned char b = byte(pos + k);
    if ((b & 0xC0) != 0x80) return stray;
    code = (code << 6) | (b & 0x3F);
  }
  if (code < minimum || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return stray;
  return {code, static_cast<std::uint8_t>(extra + 1), code_page_width(code), true};
}

inline bool is_blank(const CodePageChar& c) {
  return c.well_formed && (c.code == U' ' || c.code == kIdeographicBlank);
}

}  // namespace rt
