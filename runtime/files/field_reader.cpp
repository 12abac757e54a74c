#include "runtime/files/field_reader.h"

#include <algorithm>
#include <cstring>
#include <optional>
#include <string_view>

#include "runtime/convert/text_to_number.h"
#include "runtime/errors/runtime_error.h"
#include "runtime/files/os_errors.h"

namespace rt {
namespace {

constexpr int kEnd = -1;

// A field that only grows through this type cannot pass the length limit unnoticed.
class FieldText {
 public:
  FieldText(FileOp op, const std::source_location& where) : op_(op), where_(where) {}

  void append(char c, std::uint64_t blanks_before = 0) {
    if (text_.size() + blanks_before + 1 > kMaxFieldBytes)
      raise_error(kStringTooLong, file_location(op_, FileCheck::TooLong), where_);
    if (blanks_before != 0) text_.append(blanks_before, ' ');
    text_.push_back(c);
  }
  std::string take() { return std::move(text_); }
  const std::string& text() const { return text_; }

 private:
  FileOp op_;
  const std::source_location& where_;
  std::string text_;
};

}  // namespace

std::size_t MemorySource::read_at(std::uint64_t offset, char* out, std::size_t count,
                                  const std::source_location&) {
  if (offset >= bytes_.size()) return 0;
  std::size_t n = std::min<std::uint64_t>(count, bytes_.size() - offset);
  std::memcpy(out, bytes_.data() + offset, n);
  return n;
}

FieldReader::FieldReader(ByteSource& source, std::uint64_t size, std::uint64_t position,
                         std::size_t buffer_bytes)
    : source_(source),
      size_(size),
      position_(position),
      buffer_size_(std::max<std::size_t>(buffer_bytes, 1)),
      buffer_(new char[buffer_size_]) {}

void FieldReader::reset(std::uint64_t position, std::uint64_t size) {
  position_ = position;
  size_ = size;
  buffer_length_ = 0;
}

int FieldReader::raw_byte(std::uint64_t at, const std::source_location& where) {
  if (at >= size_) return kEnd;
  if (at < buffer_start_ || at - buffer_start_ >= buffer_length_) {
    buffer_start_ = at;
    std::size_t want = std::min<std::uint64_t>(buffer_size_, size_ - at);
    buffer_length_ = source_.read_at(at, buffer_.get(), want, where);
    if (buffer_length_ == 0) {
      // The file was shortened by another program since it was opened: it ends here now.
      size_ = at;
      return kEnd;
    }
  }
  return static_cast<unsigned char>(buffer_[at - buffer_start_]);
}

bool FieldReader::only_zero_bytes_after(std::uint64_t at, const std::source_location& where) {
  for (std::uint64_t next = at + 1;; ++next) {
    const int b = raw_byte(next, where);
    if (b == kEnd) return true;
    if (b != 0) return false;
  }
}

int FieldReader::peek_slowly(const std::source_location& where) {
  for (;;) {
    int b = raw_byte(position_, where);
    if (b == 0) {
      ++position_;
      continue;
    }
    // Zero bytes are dropped wherever they are, so a Ctrl-Z with only zero bytes after it is
    // the file's last byte.
    if (b == kCtrlZ && only_zero_bytes_after(position_, where)) return kEnd;
    return b;
  }
}

// Zero bytes are not data: a file whose last field is followed by them ends there.
bool FieldReader::at_end(std::source_location where) { return peek(where) == kEnd; }

void FieldReader::skip_blanks(const std::source_location& where) {
  while (peek(where) == ' ') ++position_;
}

void FieldReader::consume_delimiter(const std::source_location& where) {
  int b = peek(where);
  if (b == ',' || b == ':') {
    ++position_;
  } else if (b == '\r') {
    ++position_;
    if (peek(where) == '\n') ++position_;
  }
}

void FieldReader::start_field(FileOp op, const std::source_location& where) {
  // Thrown here rather than through raise_error: the end of a damaged file is a reader's most
  // common refusal, and one throw is all it needs.
  if (at_end(where)) throw RuntimeError(kReadPastEnd, file_location(op, FileCheck::PastEnd), where);
  skip_blanks(where);
}

std::string FieldReader::read_text(std::source_location where) {
  start_field(FileOp::ReadText, where);
  FieldText field(FileOp::ReadText, where);
  if (peek(where) == '"') {
    // Everything up to the closing quote, line ends included. After it, blanks and one
    // delimiter belong to this field; anything else starts the next one.
    ++position_;
    for (int b; (b = peek(where)) != kEnd;) {
      ++position_;
      if (b == '"') break;
      field.append(static_cast<char>(b));
    }
    skip_blanks(where);
    consume_delimiter(where);
    return field.take();
  }
  // Blanks are held back as a count, so that trailing ones are dropped without being stored.
  std::uint64_t blanks = 0;
  for (int b; (b = peek(where)) != kEnd;) {
    if (b == ',' || b == ':' || b == '\r') {
      consume_delimiter(where);
      break;
    }
    ++position_;
    if (b == ' ') {
      ++blanks;
    } else {
      field.append(static_cast<char>(b), blanks);
      blanks = 0;
    }
  }
  return field.take();
}

std::optional<std::string_view> FieldReader::field_in_buffer() const {
  const std::uint64_t offset = position_ - buffer_start_;
  if (offset >= buffer_length_) return std::nullopt;
  const char* begin = buffer_.get() + offset;
  const char* end = buffer_.get() + buffer_length_;
  const char* p = begin;
  // Zero bytes (dropped) and Ctrl-Z (perhaps the end) are the slow road's to judge.
  while (p != end && *p != ',' && *p != ':' && *p != '\r' && *p != ' ' && *p != 0 && *p != kCtrlZ)
    ++p;
  const auto length = static_cast<std::size_t>(p - begin);
  if (p == end || *p == 0 || *p == kCtrlZ || length == 0 || length > kMaxFieldBytes)
    return std::nullopt;
  return std::string_view(begin, length);
}

double FieldReader::read_number(std::source_location where) {
  start_field(FileOp::ReadNumber, where);
  auto not_a_number = [&] {
    return RuntimeError(kBadNumericField, file_location(FileOp::ReadNumber, FileCheck::NotANumber),
                        where);
  };
  if (peek(where) == '"') throw not_a_number();
  if (const std::optional<std::string_view> whole = field_in_buffer()) {
    // The usual field, taken whole (a copy: reading on may refill the buffer), then its end
    // as below.
    const std::string text(*whole);
    position_ += text.size();
    if (peek(where) == ' ') skip_blanks(where);
    consume_delimiter(where);
    NumberScan scan = scan_number(text, where);
    if (scan.length != text.size()) throw not_a_number();
    return scan.value;
  }
  FieldText field(FileOp::ReadNumber, where);
  for (int b; (b = peek(where)) != kEnd;) {
    if (b == ',' || b == ':' || b == '\r') {
      consume_delimiter(where);
      break;
    }
    if (b == ' ') {
      // A blank ends the number. After the blanks, a delimiter of the field's own is consumed;
      // any other byte is the start of the next field.
      skip_blanks(where);
      consume_delimiter(where);
      break;
    }
    ++position_;
    field.append(static_cast<char>(b));
  }
  const std::string& text = field.text();
  if (text.empty()) throw not_a_number();
  NumberScan scan = scan_number(text, where);
  if (scan.length != text.size()) throw not_a_number();
  return scan.value;
}

}  // namespace rt
