#include "app/files/export_hint.h"

#include <optional>
#include <vector>

#include "app/files/plain_number.h"
#include "runtime/convert/integer_text.h"
#include "runtime/errors/runtime_error.h"
#include "runtime/files/whole_file.h"

namespace app {
namespace {

// Enough lines to get past any header an instrument writes.
constexpr int kLinesLooked = 64;
constexpr std::size_t kMostBytesLooked = std::size_t{64} << 20;

// The words of a line, split at the separators instrument exports use.
std::vector<std::string_view> words(std::string_view line) {
  std::vector<std::string_view> out;
  std::size_t start = 0;
  while (start < line.size()) {
    const std::size_t end = line.find_first_of(",; \t", start);
    const std::size_t stop = end == std::string_view::npos ? line.size() : end;
    if (stop > start) out.push_back(line.substr(start, stop - start));
    if (end == std::string_view::npos) break;
    start = end + 1;
  }
  return out;
}

}  // namespace

std::string instrument_export_hint(std::string_view bytes, const std::string& file_name) {
  std::size_t start = 0;
  bool header = false;
  for (int line = 1; line <= kLinesLooked && start < bytes.size(); ++line) {
    std::size_t end = bytes.find_first_of("\r\n", start);
    if (end == std::string_view::npos) end = bytes.size();
    const std::vector<std::string_view> items = words(bytes.substr(start, end - start));
    if (end + 1 < bytes.size() && bytes[end] == '\r' && bytes[end + 1] == '\n') ++end;
    start = end + 1;
    if (items.empty()) continue;
    bool numbers = true;
    for (std::string_view item : items) numbers = numbers && plain_number(item).has_value();
    if (!numbers) {
      header = true;
      continue;
    }
    // No commas: the batch's summary line carries this text in a CSV field.
    const std::string what =
        items.size() == 2 ? "line " + rt::decimal_text(line) + " holds two numbers: x and counts"
        : header          ? "a header comes before the numbers"
                          : std::string();
    if (what.empty()) return {};
    std::string hint = file_name;
    hint += " looks like an instrument export (";
    hint += what;
    hint +=
        "). OPEN reads three numbers per point (x then measured value then background): open "
        "this file with File > Open raw spectrum... (tessaly batch: --raw).";
    return hint;
  }
  return {};
}

std::string instrument_export_hint_for(const std::string& path) {
  try {
    const std::optional<std::string> bytes = rt::read_whole_file(path, kMostBytesLooked);
    if (!bytes) return {};
    const std::size_t slash = path.rfind('/');
    return instrument_export_hint(*bytes,
                                  slash == std::string::npos ? path : path.substr(slash + 1));
  } catch (const rt::RuntimeError&) {
    return {};  // the reader's own error stands
  }
}

}  // namespace app
