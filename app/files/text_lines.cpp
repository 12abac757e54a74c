#include "app/files/text_lines.h"

#include "app/files/raw_errors.h"
#include "runtime/convert/integer_text.h"
#include "runtime/errors/runtime_error.h"
#include "runtime/forms/statement_pump.h"

namespace app {

LineCursor::LineCursor(std::string_view bytes, std::string file_name)
    : bytes_(bytes), file_name_(std::move(file_name)) {
  constexpr std::string_view kBom = "\xEF\xBB\xBF";
  if (bytes_.substr(0, kBom.size()) == kBom) bytes_.remove_prefix(kBom.size());
}

std::optional<TextLine> LineCursor::next() {
  if (at_end()) return std::nullopt;
  rt::count_statement();  // a line a statement: a long file still lets the windows repaint
  std::size_t end = bytes_.find_first_of("\r\n", start_);
  if (end == std::string_view::npos) end = bytes_.size();
  if (end - start_ > kMaxLineBytes)
    throw raw_error(rt::kStringTooLong, RawCheck::LineTooLong,
                    line_place(file_name_, number_) + " is longer than " +
                        rt::decimal_text(static_cast<std::int64_t>(kMaxLineBytes)) +
                        " bytes: this is not a text file of numbers");
  const TextLine line{bytes_.substr(start_, end - start_), number_++};
  if (end + 1 < bytes_.size() && bytes_[end] == '\r' && bytes_[end + 1] == '\n') ++end;
  start_ = end + 1;
  return line;
}

}  // namespace app
