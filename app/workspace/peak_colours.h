#pragma once
// The six peak colours in one table, slot 1 first: the swatches, the graph's curves and the
// mouse hit test all read it, so a colour changed here changes everywhere at once.

#include <array>
#include <string_view>

#include "app/workspace/peak_table.h"
#include "runtime/picture/colour.h"

namespace app {

// 0x00BBGGRR.
inline constexpr std::array<unsigned, kSlots> kPeakColours = {0xFF0000, 0xFF00FF, 0x00FF00,
                                                              0xFFFF00, 0x00FFFF, 0xFF0080};

// The text forms of kPeakColours, derived from it so that the two cannot drift apart.
inline constexpr std::array<std::array<char, 7>, kSlots> kPeakColourTexts = [] {
  std::array<std::array<char, 7>, kSlots> texts{};
  for (int k = 0; k < kSlots; ++k) texts[k] = rt::six_hex_digits(kPeakColours[k]);
  return texts;
}();
static_assert(std::string_view(kPeakColourTexts[5].data()) == "FF0080");

// The components G to T (slots 7 to 20), darker or paler than the six and than the sum's red
// and the data's black, so that each reads apart on the white graph: dark green, navy,
// maroon, teal, olive, purple, orange, grey, brown, steel blue, light green, light blue,
// salmon, goldenrod.
inline constexpr std::array<unsigned, 14> kComponentColours = {
    0x008000, 0x800000, 0x000080, 0x808000, 0x008080, 0x800080, 0x0080FF,
    0x808080, 0x4080C0, 0xC08040, 0x80FF80, 0xFF8080, 0x8080FF, 0x20A5DA};

// Any slot's (1 to 20) drawing colour.
constexpr unsigned component_colour(int k) {
  return k <= kSlots ? kPeakColours[k - 1] : kComponentColours[k - 7];
}

// Slot k's (1 to 6) colour and its text form.
constexpr unsigned peak_colour(int k) { return kPeakColours[k - 1]; }
constexpr std::string_view peak_colour_text(int k) { return kPeakColourTexts[k - 1].data(); }

}  // namespace app
