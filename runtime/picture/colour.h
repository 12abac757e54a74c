#pragma once
// Colours of pictures and images: 24-bit values laid out 0x00BBGGRR (red in the low byte),
// the layout in which the program names colours and reads pixels back.

#include <array>
#include <cstdint>
#include <source_location>
#include <string>

namespace rt {

using Colour = std::uint32_t;

inline constexpr Colour kBlack = 0x000000;
inline constexpr Colour kWhite = 0xFFFFFF;
inline constexpr Colour kMaxColour = 0xFFFFFF;
// What reading a pixel outside a picture gives; no drawable colour has the high byte set.
inline constexpr Colour kNoPixel = 0xFFFFFFFF;

// The 16 colours that drawing operations address by index.
inline constexpr std::array<Colour, 16> kPalette = {
    0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080, 0x008080, 0xC0C0C0,
    0x808080, 0xFF0000, 0x00FF00, 0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF,
};

// A colour as six upper-case hexadecimal digits of its low 24 bits ("FF0080"): the text in
// which the hit test compares pixels with the peak colours and a script prints a pixel.
constexpr std::array<char, 7> six_hex_digits(Colour colour) {
  std::array<char, 7> text{};
  for (int i = 5; i >= 0; --i) {
    text[static_cast<std::size_t>(i)] = "0123456789ABCDEF"[colour & 0xF];
    colour >>= 4;
  }
  return text;
}
inline std::string six_hex_text(Colour colour) { return six_hex_digits(colour).data(); }

// The palette colour of `index`; an index outside 0..15 is error 5.
Colour palette_colour(std::int32_t index,
                      std::source_location where = std::source_location::current());

// A colour value given by the program (0 .. 0xFFFFFF); anything else, negative included, is
// error 6.
Colour checked_colour(std::int64_t value,
                      std::source_location where = std::source_location::current());

}  // namespace rt
