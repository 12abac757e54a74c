#pragma once
// Uncompressed BMP files of a raster: 24 bits per pixel always (there is no screen depth to
// follow), rows bottom-up, each pixel blue, green, red, rows padded to 4 bytes.

#include <array>
#include <cstdint>
#include <source_location>
#include <string>
#include <vector>

#include "runtime/picture/raster.h"

namespace rt {

inline constexpr std::size_t kBmpHeaderSize = 14 + 40;

// Bytes of one stored row, padding included.
std::uint32_t bmp_row_bytes(std::int32_t width);
std::uint64_t bmp_file_size(std::int32_t width, std::int32_t height);

std::array<std::uint8_t, kBmpHeaderSize> bmp_header(std::int32_t width, std::int32_t height);

// The whole file in memory; no memory for it: error 7.
std::vector<std::uint8_t> bmp_bytes(const Raster& raster,
                                    std::source_location where = std::source_location::current());

// Creates or replaces the file at `path` (the platform's UTF-8 file name). The file cannot be
// created: error 57; a write fails part-way: error 67. The system's error code is recorded
// before either.
void write_bmp_file(const Raster& raster, const std::string& path,
                    std::source_location where = std::source_location::current());

}  // namespace rt
