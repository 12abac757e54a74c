#include "runtime/convert/trim.h"

#include "runtime/convert/code_page_chars.h"

namespace rt {

// The ideographic blank stands for the code page's double-byte blank. Walking whole characters
// means the last bytes of some other character are never taken for a blank.
std::string trim(std::string_view s) {
  std::size_t begin = 0;
  while (begin < s.size()) {
    const CodePageChar c = decode_char(s, begin);
    if (!is_blank(c)) break;
    begin += c.utf8_bytes;
  }
  std::size_t end = begin;  // end of the last character that is not a blank
  for (std::size_t pos = begin; pos < s.size();) {
    const CodePageChar c = decode_char(s, pos);
    pos += c.utf8_bytes;
    if (!is_blank(c)) end = pos;
  }
  return std::string(s.substr(begin, end - begin));
}

}  // namespace rt
