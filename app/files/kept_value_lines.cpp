#include "app/files/kept_value_lines.h"

#include <charconv>
#include <cmath>
#include <string_view>

#include "app/workspace/peak_table.h"
#include "runtime/convert/integer_text.h"
#include "runtime/forms/control_values.h"

namespace app {
namespace {

struct NamedParam {
  Param param;
  std::string_view name;
};
constexpr NamedParam kParams[] = {
    {Param::Centre, "centre"}, {Param::Width, "width"}, {Param::Height, "height"}};

std::string round_trip_text(double v) {
  char buffer[64];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, v);
  return std::string(buffer, result.ptr);
}

// The next blank-separated word of `rest`, which loses it and the blank after it.
std::string_view next_word(std::string_view& rest) {
  const std::size_t blank = rest.find(' ');
  const std::string_view word = rest.substr(0, blank);
  rest = blank == std::string_view::npos ? std::string_view() : rest.substr(blank + 1);
  return word;
}

}  // namespace

std::vector<std::string> kept_value_lines() {
  std::vector<std::string> lines;
  for (int k = 1; k <= kSlots; ++k)
    for (const NamedParam& p : kParams) {
      const KeptValue* kept = kept_value(k, p.param);
      if (!kept || !std::isfinite(kept->value)) continue;
      lines.push_back(std::string(p.name) + ' ' + rt::decimal_text(k) + ' ' +
                      round_trip_text(kept->value) + ' ' + kept->text);
    }
  if (!lines.empty()) lines.insert(lines.begin(), kKeptValuesMark);
  return lines;
}

void restore_kept_values(const std::vector<std::string>& items) {
  if (items.empty() || items.front() != kKeptValuesMark) return;
  for (std::size_t n = 1; n < items.size(); ++n) {
    std::string_view rest = items[n];
    const std::string_view name = next_word(rest);
    const std::string_view slot = next_word(rest);
    const std::string_view value_text = next_word(rest);
    const std::string_view text = rest;
    const NamedParam* param = nullptr;
    for (const NamedParam& p : kParams)
      if (p.name == name) param = &p;
    int k = 0;
    double value = 0;
    const auto slot_read = std::from_chars(slot.data(), slot.data() + slot.size(), k);
    const auto value_read =
        std::from_chars(value_text.data(), value_text.data() + value_text.size(), value);
    if (!param || slot_read.ec != std::errc() || slot_read.ptr != slot.data() + slot.size() ||
        k < 1 || k > kSlots || value_read.ec != std::errc() ||
        value_read.ptr != value_text.data() + value_text.size() || !std::isfinite(value) ||
        text.empty())
      continue;
    // A field edited in the file since it was saved stands for its own text.
    if (rt::get_text(field_of(k, param->param)) == text)
      KeepParameter(k, param->param, value, std::string(text));
  }
}

}  // namespace app
