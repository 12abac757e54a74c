#include "runtime/convert/string_functions.h"

#include <cstdint>

#include "runtime/convert/code_page_chars.h"
#include "runtime/convert/cp932.h"
#include "runtime/errors/error_locations.h"
#include "runtime/errors/runtime_error.h"

namespace rt {

// Location codes of this file's checks.
constexpr std::uint32_t kBadStringArgument =
    convert_location(Operation::StringFunction, ConvertCheck::BadArgument);

namespace {

// The characters of s that lie wholly within the code-page byte positions [first, last]
// (1-based, inclusive). A double-byte character that either end would split is left out, so
// the result is always whole characters.
std::string byte_range(std::string_view s, std::int64_t first, std::int64_t last) {
  std::string out;
  std::int64_t position = 1;  // code-page position of the character at `pos`
  for (std::size_t pos = 0; pos < s.size() && position <= last;) {
    const CodePageChar c = decode_char(s, pos);
    if (position >= first && position + c.width - 1 <= last)
      out.append(s.substr(pos, c.utf8_bytes));
    position += c.width;
    pos += c.utf8_bytes;
  }
  return out;
}

// A key per character whose order is the order of the code-page bytes: a single-byte
// character b counts as b * 256 and a double-byte one as lead * 256 + trail. Single bytes are
// never lead bytes, so these compare exactly as the byte strings would. Characters the code
// page lacks follow all of its own, by code point; stray bytes come last of all.
std::uint32_t code_page_key(std::string_view s, std::size_t pos, const CodePageChar& c) {
  if (!c.well_formed) return 0x200000u + c.code;
  if (c.code < 0x80) return c.code << 8;
  // The converter writes "?" for a character the code page lacks.
  const std::string bytes = utf8_to_cp932(s.substr(pos, c.utf8_bytes));
  const auto byte = [&](std::size_t i) {
    return static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[i]));
  };
  if (bytes.size() == 2) return (byte(0) << 8) | byte(1);
  if (bytes.size() == 1 && bytes[0] != '?') return byte(0) << 8;
  return 0x10000u + c.code;
}

}  // namespace

std::int32_t byte_length(std::string_view s) {
  std::int64_t length = 0;
  for (std::size_t pos = 0; pos < s.size();) {
    const CodePageChar c = decode_char(s, pos);
    length += c.width;
    pos += c.utf8_bytes;
  }
  return static_cast<std::int32_t>(length);
}

std::int32_t char_length(std::string_view s) {
  std::int32_t length = 0;
  for (std::size_t pos = 0; pos < s.size(); ++length) pos += decode_char(s, pos).utf8_bytes;
  return length;
}

std::string left_part(std::string_view s, std::int32_t n, std::source_location where) {
  if (n < 0) raise_error(kInvalidArgument, kBadStringArgument, where);
  return byte_range(s, 1, n);
}

std::string right_part(std::string_view s, std::int32_t n, std::source_location where) {
  if (n < 0) raise_error(kInvalidArgument, kBadStringArgument, where);
  const std::int64_t length = byte_length(s);
  return byte_range(s, length - n + 1, length);
}

std::string middle_part(std::string_view s, std::int32_t start, std::int32_t count,
                        std::source_location where) {
  if (start < 1 || count < 0) raise_error(kInvalidArgument, kBadStringArgument, where);
  return byte_range(s, start, static_cast<std::int64_t>(start) + count - 1);
}

std::string middle_chars(std::string_view s, std::int32_t start, std::int32_t count,
                         std::source_location where) {
  if (start < 1 || count < 0) raise_error(kInvalidArgument, kBadStringArgument, where);
  if (count == 0) return {};
  const std::int64_t last = static_cast<std::int64_t>(start) + count - 1;
  std::size_t begin = s.size();
  std::size_t end = s.size();
  std::int64_t index = 1;
  for (std::size_t pos = 0; pos < s.size(); ++index) {
    if (index == start) begin = pos;
    pos += decode_char(s, pos).utf8_bytes;
    if (index == last) {
      end = pos;
      break;
    }
  }
  if (begin >= end) return {};
  return std::string(s.substr(begin, end - begin));
}

// Matches only at whole characters, and positions count code-page bytes.
std::int32_t find_text(std::int32_t start, std::string_view s, std::string_view t,
                       std::source_location where) {
  if (start < 1) raise_error(kInvalidArgument, kBadStringArgument, where);
  // An empty pattern is found at any position of the string, and only there: position
  // length + 1 is beyond the end, as is every position of an empty string.
  if (t.empty()) return start <= byte_length(s) ? start : 0;

  std::size_t pos = 0;        // UTF-8 offset of the character being walked
  std::int64_t position = 1;  // its code-page position
  auto boundary_at = [&](std::size_t target) {
    while (pos < target && pos < s.size()) {
      const CodePageChar c = decode_char(s, pos);
      pos += c.utf8_bytes;
      position += c.width;
    }
    return pos == target;
  };
  for (std::size_t from = 0;; ++from) {
    const std::size_t hit = s.find(t, from);
    if (hit == std::string_view::npos) return 0;
    from = hit;
    if (!boundary_at(hit) || position < start) continue;
    // The match must also end at a whole character.
    std::size_t end = hit;
    while (end < hit + t.size()) end += decode_char(s, end).utf8_bytes;
    if (end == hit + t.size()) return static_cast<std::int32_t>(position);
  }
}

// The codes are code-page bytes; the text is what they spell in the code page, read exactly
// as a file's bytes are (a byte that spells nothing becomes U+FFFD).
std::string character(std::initializer_list<int> codes, std::source_location where) {
  std::string bytes;
  bytes.reserve(codes.size());
  for (int code : codes) {
    if (code < 0 || code > 255) raise_error(kInvalidArgument, kBadStringArgument, where);
    bytes += static_cast<char>(code);
  }
  return cp932_to_utf8(bytes, where);
}

int compare_text(std::string_view a, std::string_view b) {
  std::size_t i = 0;
  std::size_t j = 0;
  while (i < a.size() && j < b.size()) {
    const CodePageChar ca = decode_char(a, i);
    const CodePageChar cb = decode_char(b, j);
    if (ca.well_formed != cb.well_formed || ca.code != cb.code) {
      const std::uint32_t ka = code_page_key(a, i, ca);
      const std::uint32_t kb = code_page_key(b, j, cb);
      if (ka != kb) return ka < kb ? -1 : 1;
    }
    i += ca.utf8_bytes;
    j += cb.utf8_bytes;
  }
  if (i < a.size()) return 1;
  if (j < b.size()) return -1;
  return 0;
}

}  // namespace rt
