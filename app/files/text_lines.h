#pragma once
// A text file as the raw readers see it: lines ended by CR LF, LF or CR, numbered from 1.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace app {

struct TextLine {
  std::string_view text;  // without its line end
  int number = 0;         // from 1
};

// The longest line the raw readers accept, in bytes.
inline constexpr std::size_t kMaxLineBytes = 65536;

// Hands out the lines of a text one at a time. A UTF-8 byte-order mark at the start is
// dropped; a line end at the very end makes no further empty line.
class LineCursor {
 public:
  LineCursor(std::string_view bytes, std::string file_name);

  // The next line, or nothing at the end. A line longer than kMaxLineBytes is error 15 naming
  // the file and the line.
  std::optional<TextLine> next();
  // The number the next line would have: one past the last line handed out.
  int next_number() const { return number_; }
  // Whether any line is left.
  bool at_end() const { return start_ >= bytes_.size(); }
  std::size_t bytes_left() const { return at_end() ? 0 : bytes_.size() - start_; }
  const std::string& file_name() const { return file_name_; }

 private:
  std::string_view bytes_;
  std::string file_name_;
  std::size_t start_ = 0;
  int number_ = 1;
};

}  // namespace app
