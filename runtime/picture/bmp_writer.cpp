#include "runtime/picture/bmp_writer.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <new>

#include "runtime/errors/error_locations.h"
#include "runtime/errors/runtime_error.h"

namespace rt {
namespace {

// Little-endian fields, byte by byte, whatever the host's byte order.
void put16(std::uint8_t* p, std::uint32_t v) {
  p[0] = static_cast<std::uint8_t>(v);
  p[1] = static_cast<std::uint8_t>(v >> 8);
}
void put32(std::uint8_t* p, std::uint32_t v) {
  put16(p, v);
  put16(p + 2, v >> 16);
}

// Row y of the raster as stored in the file; `out` has bmp_row_bytes(width) bytes.
void encode_row(const Raster& raster, std::int32_t y, std::uint8_t* out) {
  const Colour* src = raster.row(y);
  std::uint8_t* p = out;
  for (std::int32_t x = 0; x < raster.width(); ++x) {
    const Colour c = src[x];
    *p++ = static_cast<std::uint8_t>(c >> 16);  // blue
    *p++ = static_cast<std::uint8_t>(c >> 8);   // green
    *p++ = static_cast<std::uint8_t>(c);        // red
  }
  std::fill(p, out + bmp_row_bytes(raster.width()), std::uint8_t{0});
}

// Writes all of [data, data + size) to fd, resuming after short writes and interruptions.
bool write_all(int fd, const std::uint8_t* data, std::size_t size) {
  while (size > 0) {
    const ssize_t n = ::write(fd, data, size);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    if (n == 0) {
      errno = ENOSPC;
      return false;
    }
    data += n;
    size -= static_cast<std::size_t>(n);
  }
  return true;
}

}  // namespace

std::uint32_t bmp_row_bytes(std::int32_t width) {
  return static_cast<std::uint32_t>((std::uint64_t(width) * 24 + 31) / 32 * 4);
}

std::uint64_t bmp_file_size(std::int32_t width, std::int32_t height) {
  return kBmpHeaderSize + std::uint64_t{bmp_row_bytes(width)} * static_cast<std::uint64_t>(height);
}

std::array<std::uint8_t, kBmpHeaderSize> bmp_header(std::int32_t width, std::int32_t height) {
  // The largest raster's file stays well below 4 GiB, so every field fits 32 bits.
  std::array<std::uint8_t, kBmpHeaderSize> h{};
  h[0] = 'B';
  h[1] = 'M';
  put32(&h[2], static_cast<std::uint32_t>(bmp_file_size(width, height)));
  put32(&h[10], kBmpHeaderSize);
  put32(&h[14], 40);
  put32(&h[18], static_cast<std::uint32_t>(width));
  put32(&h[22], static_cast<std::uint32_t>(height));  // positive: rows bottom-up
  put16(&h[26], 1);
  put16(&h[28], 24);
  put32(&h[30], 0);
  put32(&h[34], bmp_row_bytes(width) * static_cast<std::uint32_t>(height));
  // 38..53: resolution and colour counts stay 0.
  return h;
}

std::vector<std::uint8_t> bmp_bytes(const Raster& raster, std::source_location where) {
  const std::uint32_t row_bytes = bmp_row_bytes(raster.width());
  std::vector<std::uint8_t> bytes;
  try {
    bytes.resize(bmp_file_size(raster.width(), raster.height()));
  } catch (const std::bad_alloc&) {
    raise_error(kOutOfMemory, location(ImageSaveCheck::NoMemory), where);
  }
  const auto header = bmp_header(raster.width(), raster.height());
  std::copy(header.begin(), header.end(), bytes.begin());
  std::uint8_t* out = bytes.data() + kBmpHeaderSize;
  for (std::int32_t y = raster.height() - 1; y >= 0; --y, out += row_bytes)
    encode_row(raster, y, out);
  return bytes;
}

void write_bmp_file(const Raster& raster, const std::string& path, std::source_location where) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
  if (fd < 0) {
    record_api_error(errno);
    raise_error(kCannotCreateFile, location(ImageSaveCheck::CannotCreate), where);
  }
  const auto fail = [&](ImageSaveCheck check) {
    const int os_error = errno;
    ::close(fd);
    record_api_error(os_error);
    raise_error(kDiskFull, location(check), where);
  };

  const auto header = bmp_header(raster.width(), raster.height());
  if (!write_all(fd, header.data(), header.size())) fail(ImageSaveCheck::WriteHeader);

  // Rows go out in batches of about 64 KiB, so a large image needs no second copy in memory.
  const std::size_t row_bytes = bmp_row_bytes(raster.width());
  const std::size_t batch_rows =
      std::max<std::size_t>(1, (std::size_t{1} << 16) / std::max<std::size_t>(row_bytes, 1));
  std::vector<std::uint8_t> buffer;
  try {
    buffer.resize(batch_rows * row_bytes);
  } catch (const std::bad_alloc&) {
    ::close(fd);
    raise_error(kOutOfMemory, location(ImageSaveCheck::NoMemory), where);
  }
  std::int32_t y = raster.height() - 1;
  while (y >= 0) {
    std::size_t filled = 0;
    for (; filled < batch_rows && y >= 0; ++filled, --y)
      encode_row(raster, y, buffer.data() + filled * row_bytes);
    if (!write_all(fd, buffer.data(), filled * row_bytes)) fail(ImageSaveCheck::WriteRows);
  }
  if (::close(fd) != 0) {
    record_api_error(errno);
    raise_error(kDiskFull, location(ImageSaveCheck::Close), where);
  }
}

}  // namespace rt
