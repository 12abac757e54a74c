#pragma once
// The full-precision values behind the peak fields in the settings file. They follow the 56
// lines of the controls, which stay as they were, so that a loader that stops after line 56
// reads the file as before; a table without kept values writes nothing more at all.

#include <cstddef>
#include <string>
#include <vector>

namespace app {

// The line that opens the block.
inline constexpr char kKeptValuesMark[] = "full precision values";

// The most items the block holds: the mark and a value for each field.
inline constexpr std::size_t kKeptValueItems = 1 + 3 * 6;

// The block for the kept values that stand behind their fields now: the mark, then one line
// per value, "PARAM SLOT VALUE TEXT" (centre, width or height; the value in the shortest form
// that reads back as the same double; the field's text). Empty when nothing is kept.
std::vector<std::string> kept_value_lines();

// After a load: keeps each listed value behind its field when the field holds the listed text.
// `items` are the items after the 56th, as read; anything that is not the block is ignored.
void restore_kept_values(const std::vector<std::string>& items);

}  // namespace app
