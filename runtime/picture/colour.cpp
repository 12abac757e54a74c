#include "runtime/picture/colour.h"

#include "runtime/errors/runtime_error.h"
#include "runtime/picture/error_sites.h"

namespace rt {

Colour palette_colour(std::int32_t index, std::source_location where) {
  if (index < 0 || index >= static_cast<std::int32_t>(kPalette.size()))
    raise_error(kInvalidArgument, picture_site::code(picture_site::kColour, 1), where);
  return kPalette[static_cast<std::size_t>(index)];
}

Colour checked_colour(std::int64_t value, std::source_location where) {
  if (value < 0 || value > kMaxColour)
    raise_error(kOverflow, picture_site::code(picture_site::kColour, 2), where);
  return static_cast<Colour>(value);
}

}  // namespace rt
