#include "runtime/convert/cp932.h"

#include <iconv.h>

#include <array>

#include "runtime/convert/code_page_chars.h"
#include "runtime/errors/error_locations.h"
#include "runtime/errors/runtime_error.h"

namespace rt {

// Location codes of this file's checks.
constexpr std::uint32_t kNoCodePageForm =
    convert_location(Operation::CodePage, ConvertCheck::Unconvertible);

namespace {

constexpr std::string_view kReplacementUtf8 = "\xEF\xBF\xBD";

// glibc knows the code page under several names; plain Shift JIS is the last resort (it maps
// 0x5C to the yen sign, which is why ASCII never goes through the converter).
iconv_t open_converter(bool to_code_page) {
  static constexpr std::array<const char*, 3> kNames = {"CP932", "WINDOWS-31J", "SHIFT_JIS"};
  for (const char* name : kNames) {
    iconv_t cd = to_code_page ? iconv_open(name, "UTF-8") : iconv_open("UTF-8", name);
    if (cd != reinterpret_cast<iconv_t>(-1)) return cd;
  }
  return reinterpret_cast<iconv_t>(-1);
}

class Converter {
 public:
  explicit Converter(bool to_code_page) : cd_(open_converter(to_code_page)) {}
  ~Converter() {
    if (ok()) iconv_close(cd_);
  }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;

  bool ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

  // Converts one whole character; false when the other side has no such character.
  bool convert(std::string_view in, std::string& out) {
    char buffer[16];
    char* in_ptr = const_cast<char*>(in.data());
    std::size_t in_left = in.size();
    char* out_ptr = buffer;
    std::size_t out_left = sizeof buffer;
    std::size_t r = iconv(cd_, &in_ptr, &in_left, &out_ptr, &out_left);
    iconv(cd_, nullptr, nullptr, nullptr, nullptr);  // a failed call may leave state behind
    if (r == static_cast<std::size_t>(-1) || in_left != 0) return false;
    out.append(buffer, out_ptr);
    return true;
  }

 private:
  iconv_t cd_;
};

// The program has one thread, but a descriptor must never be shared between two.
Converter& converter(bool to_code_page, const std::source_location& where) {
  thread_local Converter to_cp932(true);
  thread_local Converter to_utf8(false);
  Converter& c = to_code_page ? to_cp932 : to_utf8;
  if (!c.ok()) raise_error(kDeviceFailed, kNoCodePageForm, where);
  return c;
}

bool is_lead_byte(unsigned char b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }
bool is_trail_byte(unsigned char b) { return b >= 0x40 && b <= 0xFC && b != 0x7F; }

}  // namespace

std::string utf8_to_cp932(std::string_view text, std::source_location where) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    CodePageChar c = decode_char(text, i);
    std::string_view one = text.substr(i, c.utf8_bytes);
    i += c.utf8_bytes;
    if (c.well_formed && c.code < 0x80)
      out.push_back(static_cast<char>(c.code));
    else if (!c.well_formed || !converter(true, where).convert(one, out))
      out.push_back('?');
  }
  return out;
}

std::string cp932_to_utf8(std::string_view bytes, std::source_location where) {
  std::string out;
  out.reserve(bytes.size() + bytes.size() / 2);
  for (std::size_t i = 0; i < bytes.size();) {
    unsigned char b = static_cast<unsigned char>(bytes[i]);
    if (b < 0x80) {
      out.push_back(static_cast<char>(b));
      ++i;
      continue;
    }
    std::size_t length = 1;
    if (is_lead_byte(b)) {
      if (i + 1 >= bytes.size() || !is_trail_byte(static_cast<unsigned char>(bytes[i + 1]))) {
        out.append(kReplacementUtf8);
        ++i;
        continue;
      }
      length = 2;
    }
    if (!converter(false, where).convert(bytes.substr(i, length), out))
      out.append(kReplacementUtf8);
    i += length;
  }
  return out;
}

}  // namespace rt
