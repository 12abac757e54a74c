#include "app/files/xy_reader.h"

#include <algorithm>
#include <cmath>

#include "app/files/plain_number.h"
#include "app/files/raw_errors.h"
#include "app/files/text_lines.h"
#include "runtime/convert/arithmetic.h"
#include "runtime/convert/integer_text.h"
#include "runtime/errors/runtime_error.h"

namespace app {
namespace {

// "# Key: value" as key and value, blanks trimmed; nothing for a comment of another shape.
struct Comment {
  std::string_view key, value;
};
std::optional<Comment> comment_of(std::string_view text) {
  if (text.empty() || text.front() != '#') return std::nullopt;
  text = trim_blanks(text.substr(1));
  const std::size_t colon = text.find(':');
  if (colon == std::string_view::npos) return Comment{text, {}};
  return Comment{trim_blanks(text.substr(0, colon)), trim_blanks(text.substr(colon + 1))};
}

bool same_key(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char p, char q) {
           const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c + 32) : c; };
           return lower(p) == lower(q);
         });
}

bool mentions(std::string_view text, std::string_view word) {
  std::string lower(text);
  for (char& c : lower)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
  return lower.find(word) != std::string::npos;
}

// Two numbers separated by blanks or TABs, nothing after them.
std::optional<std::pair<double, double>> data_row(std::string_view text) {
  const std::size_t gap = text.find_first_of(" \t");
  if (gap == std::string_view::npos) return std::nullopt;
  const auto x = plain_number(text.substr(0, gap));
  const auto y = plain_number(trim_blanks(text.substr(gap)));
  if (!x || !y) return std::nullopt;
  return std::pair{*x, *y};
}

}  // namespace

bool is_xy_export(std::string_view bytes) {
  // The header's first lines suffice, and no line of them can be too long to read.
  LineCursor lines(bytes.substr(0, 16384), "");
  for (;;) {
    const auto l = lines.next();
    if (!l) return false;
    const std::string_view text = trim_blanks(l->text);
    if (text.empty()) continue;
    const auto c = comment_of(text);
    if (!c) return false;  // data before the header said what it is
    if (same_key(c->key, "Energy Axis") || same_key(c->key, "Region")) return true;
  }
}

XyFile read_xy_file(std::string_view bytes, const std::string& file_name) {
  XyFile file;
  std::optional<double> file_excitation;
  // Points go to the open region's first curve; a comment or an empty line after its points
  // ends that curve, and further curves of the region are skipped.
  XyRegion* region = nullptr;
  bool curve_done = false;
  LineCursor lines(bytes, file_name);
  while (const auto line = lines.next()) {
    const std::string_view text = trim_blanks(line->text);
    const std::string place = line_place(file_name, line->number);
    if (text.empty()) {
      if (region && !region->points.x.empty()) curve_done = true;
      continue;
    }
    if (const auto c = comment_of(text)) {
      if (region && !region->points.x.empty()) curve_done = true;
      if (same_key(c->key, "Energy Axis")) {
        if (mentions(c->value, "kinetic"))
          file.kinetic = true;
        else if (mentions(c->value, "binding"))
          file.kinetic = false;
        else
          throw raw_error(rt::kBadNumericField, RawCheck::Unsupported,
                          place + ": the energy axis " + quoted(c->value) +
                              " is neither kinetic nor binding energy");
      } else if (same_key(c->key, "Region")) {
        file.regions.push_back(XyRegion{std::string(c->value), file_excitation, {}});
        region = &file.regions.back();
        curve_done = false;
      } else if (same_key(c->key, "Excitation Energy")) {
        const auto v = plain_number(c->value);
        if (!v || !(*v > 0))
          throw raw_error(
              rt::kBadNumericField, RawCheck::NotANumber,
              place + ": the excitation energy " + quoted(c->value) + " is not an energy above 0");
        (region ? region->excitation : file_excitation) = *v;
      }
      continue;
    }
    const auto row = data_row(text);
    if (!row)
      throw raw_error(rt::kBadNumericField, RawCheck::NotANumber,
                      place + ": " + quoted(text) +
                          " is neither a comment nor two numbers (energy and counts)");
    for (const double v : {row->first, row->second})
      if (std::fabs(v) >= rt::kSingleOverflow)
        throw raw_error(
            rt::kOverflow, RawCheck::OutOfRange,
            place + ": " + value_text(v) + " lies beyond the range of the program's numbers");
    if (!region) {
      // Points before any "Region" line: one region without a name.
      file.regions.push_back(XyRegion{"", file_excitation, {}});
      region = &file.regions.back();
    }
    if (curve_done) continue;
    region->points.x.push_back(row->first);
    region->points.y.push_back(row->second);
    region->points.line.push_back(line->number);
  }
  if (std::none_of(file.regions.begin(), file.regions.end(),
                   [](const XyRegion& r) { return !r.points.x.empty(); }))
    throw raw_error(rt::kBadNumericField, RawCheck::NoNumericRows,
                    file_name + " holds no region with points");
  for (XyRegion& r : file.regions) r.points.name = r.name;
  return file;
}

std::string xy_region_list(const XyFile& file) {
  std::string out;
  for (std::size_t i = 0; i < file.regions.size(); ++i) {
    const XyRegion& r = file.regions[i];
    out += (out.empty() ? "" : ", ") + rt::decimal_text(static_cast<std::int64_t>(i + 1)) + ' ' +
           (r.name.empty() ? std::string("(no name)") : r.name);
    if (!r.points.x.empty()) {
      const auto [lo, hi] = std::minmax_element(r.points.x.begin(), r.points.x.end());
      out += " (" + value_text(*lo) + " to " + value_text(*hi) + " eV)";
    }
  }
  return out;
}

RawPoints read_xy(std::string_view bytes, int region, std::optional<double> excitation,
                  const std::string& file_name) {
  XyFile file = read_xy_file(bytes, file_name);
  const auto count = static_cast<int>(file.regions.size());
  if (region < 1 || region > count)
    throw raw_error(rt::kInvalidArgument, RawCheck::NoSuchBlock,
                    file_name + " has " + rt::decimal_text(count) +
                        (count == 1 ? " region" : " regions") + ", so there is no region " +
                        rt::decimal_text(region) + " (VAMAS block field): " + xy_region_list(file));
  XyRegion& r = file.regions[static_cast<std::size_t>(region - 1)];
  if (r.points.x.empty())
    throw raw_error(rt::kInvalidArgument, RawCheck::EmptyWindow,
                    file_name + ": region " + rt::decimal_text(region) + " holds no points");
  if (file.kinetic) {
    const auto hv = r.excitation ? r.excitation : excitation;
    if (!hv)
      throw raw_error(rt::kInvalidArgument, RawCheck::KineticEnergy,
                      file_name + ": region " + rt::decimal_text(region) +
                          " is in kinetic energy and names no excitation energy: type it in "
                          "the Excitation energy field");
    for (double& x : r.points.x) x = *hv - x;
  }
  return std::move(r.points);
}

}  // namespace app
