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

// Slot k's (1 to 6) colour and its text form.
constexpr unsigned peak_colour(int k) { return kPeakColours[k - 1]; }
constexpr std::string_view peak_colour_text(int k) { return kPeakColourTexts[k - 1].data(); }

}  // namespace app
