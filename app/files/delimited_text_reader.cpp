#include "app/files/delimited_text_reader.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "app/files/plain_number.h"
#include "app/files/raw_errors.h"
#include "app/files/text_lines.h"
#include "runtime/convert/arithmetic.h"
#include "runtime/convert/integer_text.h"
#include "runtime/errors/runtime_error.h"

namespace app {
namespace {

struct Field {
  std::string_view text;
  bool present = false;  // false: two commas or semicolons in a row left this field empty
};

// The first two fields of a line. Blanks and TABs around a field are separators of their own,
// so "1 , 2", "1\t2" and "1  2" all hold two fields; ",," leaves an empty one between.
struct FirstFields {
  Field f[2];
  int count = 0;  // fields found, at most 2
};

bool is_gap(char c) { return c == ' ' || c == '\t'; }

// "285,25 1200,5": blank-separated numbers written with decimal commas. Read with the comma as
// a separator, it would give x = 285 and y = 25; the first two blank-separated words of the
// line are numbers when their comma is a decimal point, and one of them has a comma.
bool blank_separated_decimal_commas(std::string_view line) {
  const std::size_t comma = line.find(',');
  if (comma == std::string_view::npos || line.find(' ') == std::string_view::npos) return false;
  bool any_comma = false;
  std::size_t i = 0;
  for (int word = 0; word < 2; ++word) {
    while (i < line.size() && line[i] == ' ') ++i;
    const std::size_t end = std::min(line.find(' ', i), line.size());
    std::string text(line.substr(i, end - i));
    const std::size_t at = text.find(',');
    if (at != std::string::npos) {
      if (at == 0 || at + 1 == text.size()) return false;  // "285 ,1200", "285, 1200"
      text[at] = '.';
      any_comma = true;
    }
    if (text.empty() || !plain_number(text)) return false;
    i = end;
  }
  return any_comma;
}

FirstFields first_fields(std::string_view line) {
  // In a line with TABs or semicolons a comma is part of a field, so that a decimal comma
  // ("285,5;1200") makes no number instead of splitting one value in two; so in a line of
  // blank-separated numbers with decimal commas.
  const bool comma_separates =
      line.find_first_of("\t;") == std::string_view::npos && !blank_separated_decimal_commas(line);
  const auto is_mark = [&](char c) { return c == ';' || (c == ',' && comma_separates); };
  FirstFields out;
  std::size_t i = 0;
  const std::size_t n = line.size();
  while (i < n && is_gap(line[i])) ++i;
  bool after_mark = false;
  while (out.count < 2 && i < n) {
    if (is_mark(line[i])) {
      // A mark right at the start or right after another mark closes an empty field.
      if (after_mark || out.count == 0) out.f[out.count++] = Field{{}, false};
      after_mark = true;
      ++i;
      while (i < n && is_gap(line[i])) ++i;
      continue;
    }
    std::size_t end = i;
    if (line[i] == '"') {
      const std::size_t close = line.find('"', i + 1);
      end = close == std::string_view::npos ? n : close + 1;
    } else {
      while (end < n && !is_gap(line[end]) && !is_mark(line[end])) ++end;
    }
    std::string_view text = line.substr(i, end - i);
    if (text.size() >= 2 && text.front() == '"' && text.back() == '"')
      text = trim_blanks(text.substr(1, text.size() - 2));
    out.f[out.count++] = Field{text, true};
    after_mark = false;
    i = end;
    while (i < n && is_gap(line[i])) ++i;
    if (i < n && is_mark(line[i])) {
      after_mark = true;
      ++i;
      while (i < n && is_gap(line[i])) ++i;
    }
  }
  return out;
}

std::optional<double> number_of(const Field& f) {
  return f.present ? plain_number(f.text) : std::nullopt;
}

}  // namespace

RawPoints read_delimited_text(std::string_view bytes, const std::string& file_name) {
  RawPoints points;
  LineCursor lines(bytes, file_name);
  int one_column_line = 0;  // the first header line that held one number only
  while (const auto line = lines.next()) {
    const std::string_view text = trim_blanks(line->text);
    if (text.empty()) continue;
    const FirstFields f = first_fields(text);
    const auto x = f.count >= 1 ? number_of(f.f[0]) : std::nullopt;
    const auto y = f.count >= 2 ? number_of(f.f[1]) : std::nullopt;
    if (x && y) {
      for (const double v : {*x, *y})
        if (std::fabs(v) >= rt::kSingleOverflow)
          throw raw_error(rt::kOverflow, RawCheck::OutOfRange,
                          line_place(file_name, line->number) + ": " + value_text(v) +
                              " lies beyond the range of the program's numbers");
      points.x.push_back(*x);
      points.y.push_back(*y);
      points.line.push_back(line->number);
      continue;
    }
    const bool one_column = x && f.count == 1;
    if (points.x.empty()) {
      if (one_column && one_column_line == 0) one_column_line = line->number;
      continue;  // a header line
    }
    if (text.front() == '#') continue;
    const std::string place = line_place(file_name, line->number);
    if (one_column)
      throw raw_error(rt::kBadNumericField, RawCheck::OneColumn,
                      place + " holds one column only: a spectrum needs x and y");
    const Field& bad = x ? f.f[1] : f.f[0];
    throw raw_error(
        rt::kBadNumericField, RawCheck::NotANumber,
        place + ": " +
            (bad.present ? quoted(bad.text) + " is not a number" : std::string("an empty field")) +
            " (the rows of numbers began at line " + rt::decimal_text(points.line.front()) + ")");
  }
  if (points.x.empty()) {
    if (one_column_line != 0)
      throw raw_error(
          rt::kBadNumericField, RawCheck::OneColumn,
          line_place(file_name, one_column_line) +
              " holds one column only, and no line holds two: a spectrum needs x and y");
    throw raw_error(rt::kBadNumericField, RawCheck::NoNumericRows,
                    file_name + " holds no row of two numbers (x and y)");
  }
  return points;
}

}  // namespace app
