#include "platform/batch/summary_line.h"

#include "runtime/convert/integer_text.h"

namespace batch {
namespace {

// A slot's columns, named once for the header and each line, in their order.
struct SlotColumn {
  const char* name;
  std::string SlotTexts::*text;
};
constexpr SlotColumn kSlotColumns[] = {{"centre", &SlotTexts::centre},
                                       {"width", &SlotTexts::width},
                                       {"height", &SlotTexts::height},
                                       {"share", &SlotTexts::share}};

}  // namespace

std::string summary_header(int slots) {
  std::string h = "file,status,error,points,figure";
  for (int k = 1; k <= slots; ++k) {
    const std::string n = rt::decimal_text(k);
    for (const SlotColumn& column : kSlotColumns) h += std::string(",") + column.name + n;
  }
  return h + ",total";
}

std::string csv_field(const std::string& text) {
  if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
  std::string quoted = "\"";
  for (char c : text) {
    if (c == '"') quoted += '"';
    quoted += c;
  }
  return quoted + '"';
}

std::string summary_line(const SpectrumSummary& s) {
  std::string line = csv_field(s.file) + (s.ok ? ",ok," : ",error,") +
                     csv_field(s.ok ? std::string() : s.error) + ',' + csv_field(s.points) + ',' +
                     csv_field(s.figure);
  for (const SlotTexts& slot : s.peaks)
    for (const SlotColumn& column : kSlotColumns) line += ',' + csv_field(slot.*column.text);
  return line + ',' + csv_field(s.total);
}

}  // namespace batch
