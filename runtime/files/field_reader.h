#pragma once
// Splitting a sequential file into fields. The reader sees the file's raw code-page bytes
// through a fixed buffer, so a file of any size costs the same memory. The delimiters (blank,
// comma, colon, quotation mark, CR) are all below 0x40 and so never the trail byte of a
// double-byte character: scanning bytes is safe.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <source_location>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/files/os_errors.h"

namespace rt {

// The longest field a read accepts, in bytes; a longer one is error 15.
inline constexpr std::size_t kMaxFieldBytes = 32767;
inline constexpr std::size_t kReadBufferBytes = 64 * 1024;

// Where the bytes come from: an open file, or memory.
class ByteSource {
 public:
  virtual ~ByteSource() = default;
  // Copies up to `count` bytes from `offset` into `out` and returns how many it copied; fewer
  // than asked (even 0) only where the data ends. Raises a run-time error on a read fault.
  virtual std::size_t read_at(std::uint64_t offset, char* out, std::size_t count,
                              const std::source_location& where) = 0;
};

class MemorySource : public ByteSource {
 public:
  explicit MemorySource(std::string_view bytes) : bytes_(bytes) {}
  std::size_t read_at(std::uint64_t offset, char* out, std::size_t count,
                      const std::source_location& where) override;

 private:
  std::string_view bytes_;
};

class FieldReader {
 public:
  // Reads `size` bytes of `source` from `position` on.
  FieldReader(ByteSource& source, std::uint64_t size, std::uint64_t position = 0,
              std::size_t buffer_bytes = kReadBufferBytes);

  // True at the end of the data, or when only a Ctrl-Z is left; zero bytes do not count.
  bool at_end(std::source_location where = std::source_location::current());

  // The next field as raw bytes for a text variable (possibly empty).
  std::string read_text(std::source_location where = std::source_location::current());

  // The next field as a number; error 58 unless the field is entirely a number.
  double read_number(std::source_location where = std::source_location::current());

  std::uint64_t position() const { return position_; }
  std::uint64_t size() const { return size_; }

  // After the channel has written: the data now ends at `size` and reading goes on at
  // `position`.
  void reset(std::uint64_t position, std::uint64_t size);

 private:
  static constexpr unsigned char kCtrlZ = 26;

  // The byte at the position, dropping zero bytes; -1 at the end of the data, where a final
  // Ctrl-Z counts as the end too. Every byte of a file passes here several times, so the
  // common case (an ordinary byte already in the buffer) is decided inline.
  int peek(const std::source_location& where) {
    // Unsigned: a position before the buffer wraps to a large offset and misses too.
    const std::uint64_t offset = position_ - buffer_start_;
    if (offset < buffer_length_) {
      const auto b = static_cast<unsigned char>(buffer_[offset]);
      if (b != 0 && b != kCtrlZ) return b;
    }
    return peek_slowly(where);
  }
  int peek_slowly(const std::source_location& where);
  // The field from the read position when it lies whole in the buffer, up to (not with) a
  // delimiter or blank, without bytes that need the byte-wise road: nothing otherwise.
  std::optional<std::string_view> field_in_buffer() const;
  bool only_zero_bytes_after(std::uint64_t at, const std::source_location& where);
  int raw_byte(std::uint64_t at, const std::source_location& where);
  void skip_blanks(const std::source_location& where);
  // Consumes a comma, a colon, or a CR with the LF after it; leaves any other byte.
  void consume_delimiter(const std::source_location& where);
  // Error 54 when nothing is left to read; then skips the blanks before the field.
  void start_field(FileOp op, const std::source_location& where);

  ByteSource& source_;
  std::uint64_t size_;
  std::uint64_t position_;
  // Left uninitialised: only the bytes a read fills are ever looked at.
  std::size_t buffer_size_;
  std::unique_ptr<char[]> buffer_;
  std::uint64_t buffer_start_ = 0;  // file offset of buffer_[0]
  std::size_t buffer_length_ = 0;   // bytes of buffer_ that hold data
};

}  // namespace rt
