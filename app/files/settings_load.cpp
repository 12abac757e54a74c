#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/files/kept_value_lines.h"
#include "app/files/raw_errors.h"
#include "app/files/read_input_file.h"
#include "app/files/settings_file.h"
#include "app/files/spectrum_load.h"
#include "app/workspace/control_refs.h"
#include "app/workspace/peak_table.h"
#include "runtime/convert/integer_text.h"
#include "runtime/convert/text_to_number.h"
#include "runtime/errors/runtime_error.h"
#include "runtime/files/file_channels.h"
#include "runtime/files/whole_file.h"
#include "runtime/forms/control_values.h"
#include "runtime/forms/statement_pump.h"

namespace app {
namespace {

// A settings file is 56 short lines; anything this large is some other file.
constexpr std::size_t kMaxSettingsBytes = std::size_t{4} << 20;

[[noreturn]] void refuse(SettingsCheck check, const std::string& name, int line,
                         const std::string& why) {
  rt::raise_error_with_detail(rt::kInvalidArgument,
                              name + " line " + rt::decimal_text(line) + ": " + why +
                                  ". This is not a settings file; nothing was changed.",
                              location(check));
}

// A field item is empty or a number as the fields hold them, and nothing else.
bool number_item(std::string_view text) {
  if (text.empty()) return true;
  try {
    const rt::NumberScan scan = rt::scan_number(text);
    return scan.length > 0 && scan.length == text.size();
  } catch (const rt::RuntimeError&) {
    return false;  // beyond the double range: no number a field could hold
  }
}

struct SplitLine {
  int line = 0;  // 0: none
  std::string text;
};

// The first of the 56 lines that does not hold exactly one item: a comma, colon or quotation
// mark would make the string input split or join lines, and every later item would land in
// the wrong control. A file too short to have that line is refused here.
SplitLine first_split_line(const std::string& path, const std::string& name) {
  const std::optional<std::string> bytes = rt::read_whole_file(path, kMaxSettingsBytes);
  if (!bytes) refuse(SettingsCheck::TooLarge, name, 1, "the file is far too large");
  std::size_t start = 0;
  for (int line = 1; line <= kSettingsLines; ++line) {
    if (start >= bytes->size())
      refuse(SettingsCheck::TooShort, name, line,
             "the file ends before this line; a settings file has 56 lines");
    std::size_t end = bytes->find_first_of("\r\n", start);
    if (end == std::string::npos) end = bytes->size();
    const std::string_view text = std::string_view(*bytes).substr(start, end - start);
    if (text.find_first_of(",:\"") != std::string_view::npos) return {line, std::string(text)};
    if (end + 1 < bytes->size() && (*bytes)[end] == '\r' && (*bytes)[end + 1] == '\n') ++end;
    start = end + 1;
  }
  return {};
}

}  // namespace

void load_settings(const std::string& path) {
  const std::string name = display_name(path);
  // Every item is read by the string input, which ends an item at a comma or colon as at a
  // line end and drops the blanks around it. After the 56th item only the block of kept
  // values is looked for; whatever else follows, or fails to read, is ignored.
  int read = 0;
  std::vector<std::string> after;
  std::vector<std::string> texts;
  try {
    texts = read_input_file(path, [&](int file) {
      std::vector<std::string> items;
      for (int n = 0; n < kSettingsLines; ++n) {
        rt::count_statement();
        items.push_back(rt::read_text_field(file));
        ++read;
      }
      try {
        while (!rt::end_of_file(file) && after.size() <= kKeptValueItems) {
          after.push_back(rt::read_text_field(file));
          if (after.front() != kKeptValuesMark) break;
        }
      } catch (const rt::RuntimeError&) {
      }
      return items;
    });
  } catch (rt::RuntimeError& error) {
    if (error.number() == rt::kReadPastEnd && error.detail().empty())
      error.set_detail(name + " ends after " + rt::decimal_text(read) +
                       " lines; a settings file has 56. Nothing was changed.");
    throw;
  }

  // Checked before any control changes: a wrong file (a spectrum, a cut-off settings file)
  // would otherwise fill the peak table with nonsense. Lines before the first that holds more
  // than one item are the items themselves, so each fault is named at its own line.
  const SplitLine split = first_split_line(path, name);
  const auto items = settings_items();
  for (std::size_t n = 0; n < items.size(); ++n) {
    const int line = static_cast<int>(n) + 1;
    if (line == split.line)
      refuse(SettingsCheck::NotOneItemPerLine, name, line,
             quoted(split.text) + " holds more than one value");
    const std::string& text = texts[n];
    if (items[n].check_box && text != "0" && text != "1" && text != "2")
      refuse(SettingsCheck::BadCheckState, name, line,
             "a check box's state is 0, 1 or 2, not " + quoted(text));
    if (!items[n].check_box && !number_item(text))
      refuse(SettingsCheck::NotANumber, name, line, quoted(text) + " is not a number");
  }

  for (std::size_t n = 0; n < items.size(); ++n) {
    if (items[n].check_box)
      rt::set_check(items[n].control, texts[n] == "1" ? 1 : 0);
    else
      rt::set_text(items[n].control, texts[n]);
  }
  // The loaded texts replace every kept value, unless the file kept them itself.
  forget_kept_values();
  restore_kept_values(after);
}

}  // namespace app
