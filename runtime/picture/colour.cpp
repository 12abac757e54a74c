#include "runtime/picture/colour.h"

#include "runtime/errors/error_locations.h"
#include "runtime/errors/runtime_error.h"

namespace rt {

Colour palette_colour(std::int32_t index, std::source_location where) {
  if (index < 0 || index >= static_cast<std::int32_t>(kPalette.size()))
    raise_error(kInvalidArgument, location(ColourCheck::BadPaletteIndex), where);
  return kPalette[static_cast<std::size_t>(index)];
}

Colour checked_colour(std::int64_t value, std::source_location where) {
  if (value < 0 || value > kMaxColour)
    raise_error(kOverflow, location(ColourCheck::BadColour), where);
  return static_cast<Colour>(value);
}

}  // namespace rt
