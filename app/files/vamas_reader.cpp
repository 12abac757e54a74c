#include "app/files/vamas_reader.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <initializer_list>
#include <optional>

#include "app/files/plain_number.h"
#include "app/files/raw_errors.h"
#include "app/files/text_lines.h"
#include "runtime/convert/arithmetic.h"
#include "runtime/convert/integer_text.h"
#include "runtime/errors/runtime_error.h"

namespace app {
namespace {

constexpr std::string_view kIdentifier =
    "VAMAS Surface Chemical Analysis Standard Data Transfer Format 1988 May 4";
// Items of a block that the inclusion list can leave out, numbered 1 to 40.
constexpr int kBlockItems = 40;

bool same_word(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char p, char q) {
           auto lower = [](char c) {
             return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
           };
           return lower(p) == lower(q);
         });
}

bool one_of(std::string_view word, std::initializer_list<std::string_view> words) {
  return std::any_of(words.begin(), words.end(),
                     [&](std::string_view w) { return same_word(word, w); });
}

// The techniques that bombard the sample with ions or atoms, whose blocks carry the three
// lines of the sputtering source. The format also names an energy-spectrum variant of FABMS,
// SIMS and SNMS: the name, " energy " and the first four letters of "spectrum".
bool is_sputtering_technique(std::string_view technique) {
  constexpr std::string_view kSpectrum = "spectrum";
  for (std::string_view name : {"FABMS", "SIMS", "SNMS"}) {
    const std::string energy_variant =
        std::string(name) + " energy " + std::string(kSpectrum.substr(0, 4));
    if (same_word(technique, name) || same_word(technique, energy_variant)) return true;
  }
  return same_word(technique, "ISS");
}

bool mentions_kinetic(std::string_view label) {
  std::string lower(label);
  for (char& c : lower)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return lower.find("kinetic") != std::string::npos;
}

// What a block inherits from the first block when the inclusion list leaves it out.
struct BlockItems {
  std::string technique;
  std::string excitation;  // the analysis source's characteristic energy, as written
  int excitation_line = 0;
  std::string abscissa_label;
  double start = 0, increment = 0;
  std::int64_t variables = 1;       // corresponding variables
  std::string species, transition;  // "C", "1s": the block's name
};

// Where the header's "number of spectral regions" line stands. The standard puts it after the
// scan mode for the MAP, MAPDP, NORM and SDP experiments; some writers leave it out, others
// write it for every mode.
enum class RegionsLine { AsStandard, Never, Always };

class VamasParser {
 public:
  VamasParser(std::string_view bytes, const std::string& file_name, RegionsLine regions)
      : lines_(bytes, file_name), regions_(regions) {}

  // Whether the header's regions line was read (empty when the parse ended before its place):
  // the one choice in which the writers' variants differ from the standard's layout.
  std::optional<bool> regions_line() const { return regions_line_; }

  RawPoints read(int wanted) {
    read_header();
    const std::int64_t blocks = count("number of blocks");
    if (wanted > blocks)
      throw raw_error(rt::kInvalidArgument, RawCheck::NoSuchBlock,
                      line_place(name(), last_line_) + ": the file has " +
                          rt::decimal_text(blocks) + (blocks == 1 ? " block" : " blocks") +
                          ", so there is no block " + rt::decimal_text(wanted) +
                          " (VAMAS block field)");
    BlockItems first;
    for (int b = 1; b <= wanted; ++b) {
      block_ = b;
      RawPoints points;
      const BlockItems items =
          read_block(b == 1 ? all_items_ : listed_items_, first, b == wanted ? &points : nullptr);
      if (b == 1) first = items;
      if (b == wanted) {
        points.name = items.species;
        if (!items.transition.empty())
          points.name += (points.name.empty() ? "" : " ") + items.transition;
        return points;
      }
    }
    return {};  // not reached: the loop returns at the wanted block
  }

 private:
  const std::string& name() const { return lines_.file_name(); }

  std::string where_in_file() const {
    return block_ == 0 ? std::string("in the file header") : "in block " + rt::decimal_text(block_);
  }

  std::string_view line(const char* what) {
    const auto l = lines_.next();
    if (!l)
      throw raw_error(rt::kReadPastEnd, RawCheck::Truncated,
                      name() + " ends after line " + rt::decimal_text(lines_.next_number() - 1) +
                          ", " + where_in_file() + ", where the " + what +
                          " should follow: the file is cut short");
    last_line_ = l->number;
    return trim_blanks(l->text);
  }

  void skip(std::int64_t n, const char* what) {
    for (std::int64_t i = 0; i < n; ++i) line(what);
  }

  // Counts beyond a billion cannot be true of a file within the size limit; refusing them
  // here also keeps the line arithmetic far from overflow.
  std::int64_t count(const char* what, std::int64_t least = 0) {
    constexpr std::int64_t kMost = 1'000'000'000;
    const std::string_view text = line(what);
    const auto n = whole_number(text);
    if (!n || *n < least || *n > kMost)
      throw raw_error(rt::kBadNumericField, RawCheck::BadCount,
                      line_place(name(), last_line_) + ": " + quoted(text) + " is not a valid " +
                          what + " (" + where_in_file() + ")");
    return *n;
  }

  double number(std::string_view text, int at, const char* what) {
    const auto v = plain_number(text);
    if (!v)
      throw raw_error(
          rt::kBadNumericField, RawCheck::NotANumber,
          line_place(name(), at) + ": the " + what + " " + quoted(text) + " is not a number");
    if (std::fabs(*v) >= rt::kSingleOverflow) throw out_of_range(*v, at);
    return *v;
  }

  rt::RuntimeError out_of_range(double v, int at) {
    return raw_error(rt::kOverflow, RawCheck::OutOfRange,
                     line_place(name(), at) + ": " + value_text(v) +
                         " lies beyond the range of the program's numbers");
  }

  rt::RuntimeError unsupported(std::string_view what, std::string_view value, const char* known) {
    return raw_error(rt::kNotSupported, RawCheck::Unsupported,
                     line_place(name(), last_line_) + ": " + std::string(what) + " " +
                         quoted(value) + " cannot be read; " + known);
  }

  void read_header() {
    std::string_view first = line("format identifier");
    while (first.empty()) first = line("format identifier");
    if (!same_word(first, kIdentifier))
      throw raw_error(rt::kBadNumericField, RawCheck::NotANumber,
                      line_place(name(), last_line_) + " is not the VAMAS format identifier");
    skip(4, "institution, instrument, operator and experiment identifiers");
    skip(count("number of comment lines"), "comment line");

    mode_ = std::string(line("experiment mode"));
    if (!one_of(mode_,
                {"MAP", "MAPDP", "MAPSV", "MAPSVDP", "NORM", "SDP", "SDPSV", "SEM", "NOEXP"}))
      throw unsupported(
          "experiment mode", mode_,
          "the format knows MAP, MAPDP, MAPSV, MAPSVDP, NORM, SDP, SDPSV, SEM and NOEXP");
    const std::string_view scan = line("scan mode");
    if (!same_word(scan, "REGULAR"))
      throw unsupported("scan mode", scan,
                        "only REGULAR scans (a start and an increment) are read");
    regions_line_ = regions_ == RegionsLine::Always || (regions_ == RegionsLine::AsStandard &&
                                                        mode_is({"MAP", "MAPDP", "NORM", "SDP"}));
    if (*regions_line_) count("number of spectral regions");
    if (mode_is({"MAP", "MAPDP"}))
      skip(3, "number of analysis positions and of discrete x and y coordinates");
    experiment_variables_ = count("number of experimental variables");
    skip(2 * experiment_variables_, "experimental variable label or unit");

    // A positive count lists the items every block carries, a negative one those that only
    // the first block carries; the first block always carries all of them.
    const std::int64_t listed =
        count("number of entries in the parameter inclusion or exclusion list", -kBlockItems);
    all_items_.fill(true);
    listed_items_.fill(listed <= 0);
    for (std::int64_t i = 0; i < (listed < 0 ? -listed : listed); ++i) {
      const std::int64_t item = count("block item number (1 to 40)", 1);
      if (item > kBlockItems)
        throw raw_error(rt::kBadNumericField, RawCheck::BadCount,
                        line_place(name(), last_line_) + ": block item " + rt::decimal_text(item) +
                            " does not exist (1 to 40)");
      listed_items_[static_cast<std::size_t>(item)] = listed > 0;
    }
    skip(count("number of manually entered items"), "manually entered item");
    const std::int64_t experiment_upgrades = count("number of future upgrade experiment entries");
    block_upgrades_ = count("number of future upgrade block entries");
    skip(experiment_upgrades, "future upgrade experiment entry");
  }

  bool mode_is(std::initializer_list<std::string_view> modes) const { return one_of(mode_, modes); }

  using Items = std::array<bool, kBlockItems + 1>;  // index 1 to 40

  // Reads one block; its points go to `points` when given (the wanted block), else the
  // ordinate lines are only counted.
  BlockItems read_block(const Items& has, const BlockItems& first, RawPoints* points) {
    BlockItems b = first;
    skip(2, "block and sample identifiers");
    for (int item = 1; item <= 7; ++item)
      if (has[item]) skip(1, "date and time");
    if (has[8]) skip(count("number of block comment lines"), "block comment line");
    if (has[9]) b.technique = std::string(line("technique"));
    if (has[10] && mode_is({"MAP", "MAPDP"})) skip(2, "x and y coordinates");
    if (has[11]) skip(experiment_variables_, "experimental variable value");
    if (has[12]) skip(1, "analysis source label");
    if (has[13] &&
        (mode_is({"MAPDP", "MAPSVDP", "SDP", "SDPSV"}) || is_sputtering_technique(b.technique)))
      skip(3, "sputtering ion or atom");
    if (has[14]) {
      b.excitation = std::string(line("analysis source characteristic energy"));
      b.excitation_line = last_line_;
    }
    if (has[15]) skip(1, "analysis source strength");
    if (has[16]) skip(2, "analysis source beam width");
    if (has[17] && mode_is({"MAP", "MAPDP", "MAPSV", "MAPSVDP", "SEM"})) skip(2, "field of view");
    if (has[18] && mode_is({"MAPSV", "MAPSVDP", "SEM"})) skip(6, "linescan coordinates");
    if (has[19]) skip(1, "analysis source polar angle of incidence");
    if (has[20]) skip(1, "analysis source azimuth");
    if (has[21]) skip(1, "analyser mode");
    if (has[22]) skip(1, "analyser pass energy, retard ratio or mass resolution");
    if (has[23] && same_word(b.technique, "AES diff")) skip(1, "differential width");
    if (has[24]) skip(1, "magnification of the analyser transfer lens");
    if (has[25]) skip(1, "analyser work function or acceptance energy");
    if (has[26]) skip(1, "target bias");
    if (has[27]) skip(2, "analysis width");
    if (has[28]) skip(2, "analyser axis take-off angles");
    if (has[29]) b.species = std::string(line("species label"));
    if (has[30]) {
      b.transition = std::string(line("transition label"));
      skip(1, "charge of the detected particle");
    }
    if (has[31]) {
      b.abscissa_label = std::string(line("abscissa label"));
      skip(1, "abscissa units");
      const std::string_view start = line("abscissa start");
      b.start = number(start, last_line_, "abscissa start");
      const std::string_view increment = line("abscissa increment");
      b.increment = number(increment, last_line_, "abscissa increment");
    }
    if (has[32]) {
      b.variables = count("number of corresponding variables", 1);
      skip(2 * b.variables, "corresponding variable label or unit");
    }
    for (int item = 33; item <= 36; ++item)
      if (has[item]) skip(1, "signal mode, collection time, number of scans or time correction");
    if (has[37] && mode_is({"MAPDP", "MAPSVDP", "SDP", "SDPSV"}) &&
        one_of(b.technique, {"AES diff", "AES dir", "EDX", "ELS", "UPS", "XPS", "XRF"}))
      skip(7, "sputtering source");
    if (has[38]) skip(2, "sample normal tilt");
    if (has[39]) skip(1, "sample rotation angle");
    if (has[40])
      skip(3 * count("number of additional numerical parameters"),
           "additional numerical parameter");
    skip(block_upgrades_, "future upgrade block entry");

    const std::int64_t values = count("number of ordinate values");
    const int count_line = last_line_;
    if (values % b.variables != 0)
      throw raw_error(rt::kBadNumericField, RawCheck::BadCount,
                      line_place(name(), count_line) + ": " + rt::decimal_text(values) +
                          " ordinate values cannot be shared among " +
                          rt::decimal_text(b.variables) + " corresponding variables");
    skip(2 * b.variables, "minimum or maximum ordinate value");
    if (!points) {
      skip(values, "ordinate value");
      return b;
    }
    read_points(b, values, *points);
    return b;
  }

  void read_points(const BlockItems& b, std::int64_t values, RawPoints& points) {
    double excitation = 0;
    const bool kinetic = mentions_kinetic(b.abscissa_label);
    if (kinetic)
      excitation = number(trim_blanks(b.excitation), b.excitation_line, "excitation energy");
    // Room for every point at once, as many as the values or the lines left (two bytes a line
    // at least) allow: a count that lies costs no more than the file's size.
    const auto room = static_cast<std::size_t>(std::min<std::int64_t>(
        values / b.variables, static_cast<std::int64_t>(lines_.bytes_left() / 2 + 1)));
    points.x.reserve(room);
    points.y.reserve(room);
    points.line.reserve(room);
    for (std::int64_t i = 0; i < values; ++i) {
      const std::string_view text = line("ordinate value");
      if (i % b.variables != 0) continue;  // only the first corresponding variable is kept
      const double y = number(text, last_line_, "ordinate value");
      const std::int64_t point = i / b.variables;  // the values of one point are side by side
      const double along = b.start + static_cast<double>(point) * b.increment;
      const double x = kinetic ? excitation - along : along;
      if (std::fabs(x) >= rt::kSingleOverflow) throw out_of_range(x, last_line_);
      points.x.push_back(x);
      points.y.push_back(y);
      points.line.push_back(last_line_);
    }
  }

  LineCursor lines_;
  RegionsLine regions_;
  int last_line_ = 0;
  int block_ = 0;  // the block being read; 0 while in the header
  std::string mode_;
  std::int64_t experiment_variables_ = 0;
  std::int64_t block_upgrades_ = 0;
  Items all_items_{};
  Items listed_items_{};
  std::optional<bool> regions_line_;
};

}  // namespace

bool is_vamas(std::string_view bytes) {
  LineCursor lines(bytes.substr(0, 4096), "");
  for (;;) {
    const auto l = lines.next();
    if (!l) return false;
    const std::string_view text = trim_blanks(l->text);
    if (!text.empty()) return same_word(text, kIdentifier);
  }
}

RawPoints read_vamas(std::string_view bytes, int block, const std::string& file_name) {
  VamasParser standard(bytes, file_name, RegionsLine::AsStandard);
  try {
    return standard.read(block);
  } catch (const rt::RuntimeError& as_standard) {
    // A file that the standard's layout cannot read may follow one of the writers' variants;
    // if that does not read it either, the error is the one the standard's layout met. Of the
    // two variants (never a regions line, always one) one reads this file exactly as the
    // standard's layout did, and a parse that ended before the regions line's place would end
    // the same way in both: only the other is worth a try.
    if (as_standard.number() != rt::kBadNumericField && as_standard.number() != rt::kReadPastEnd)
      throw;
    const std::optional<bool> read_regions = standard.regions_line();
    if (!read_regions) throw;
    try {
      return VamasParser(bytes, file_name, *read_regions ? RegionsLine::Never : RegionsLine::Always)
          .read(block);
    } catch (const rt::RuntimeError&) {
    }
    throw;
  }
}

}  // namespace app
