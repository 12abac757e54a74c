#pragma once
// Location codes of the checks in the picture and image operations: the operation in the
// high part, the check within it in the low 8 bits (the error log shows both).

#include <cstdint>

namespace rt::picture_site {

constexpr std::uint32_t code(std::uint32_t operation, std::uint32_t check) {
  return operation << 8 | check;
}

inline constexpr std::uint32_t kColour = 0x401;
inline constexpr std::uint32_t kCoordinate = 0x402;
inline constexpr std::uint32_t kRaster = 0x403;
inline constexpr std::uint32_t kLine = 0x404;
inline constexpr std::uint32_t kFont = 0x405;
inline constexpr std::uint32_t kImageSize = 0x410;
inline constexpr std::uint32_t kImageCopy = 0x411;
inline constexpr std::uint32_t kImageSave = 0x412;

}  // namespace rt::picture_site
