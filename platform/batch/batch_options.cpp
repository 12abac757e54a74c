#include "platform/batch/batch_options.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <system_error>

namespace batch {
namespace {

// A whole decimal number in [low, high], or nothing.
std::optional<long> whole_number(const std::string& text, long low, long high) {
  long value = 0;
  const char* end = text.data() + text.size();
  auto [ptr, ec] = std::from_chars(text.data(), end, value);
  if (text.empty() || ec != std::errc() || ptr != end || value < low || value > high)
    return std::nullopt;
  return value;
}

// A finite decimal number: from_chars also reads "nan" and "inf", which bound no window.
bool decimal_number(const std::string& text, double& value) {
  const char* end = text.data() + text.size();
  auto [ptr, ec] = std::from_chars(text.data(), end, value);
  return !text.empty() && ec == std::errc() && ptr == end && std::isfinite(value);
}

// FROM:TO, either side may be empty (that end of the file); both given must rise.
bool read_window(const std::string& text, BatchOptions& o, std::string& error) {
  const auto colon = text.find(':');
  if (colon == std::string::npos) {
    error = "--window takes FROM:TO, not \"" + text + "\"";
    return false;
  }
  const std::string from = text.substr(0, colon), to = text.substr(colon + 1);
  double a = 0, b = 0;
  if ((!from.empty() && !decimal_number(from, a)) || (!to.empty() && !decimal_number(to, b))) {
    error = "--window takes two numbers FROM:TO, not \"" + text + "\"";
    return false;
  }
  if (!from.empty() && !to.empty() && !(a < b)) {
    error = "--window FROM:TO needs FROM below TO, not \"" + text + "\"";
    return false;
  }
  o.window_from = from;
  o.window_to = to;
  return true;
}

bool read_shard(const std::string& text, BatchOptions& o, std::string& error) {
  const auto slash = text.find('/');
  std::optional<long> k, n;
  if (slash != std::string::npos) {
    n = whole_number(text.substr(slash + 1), 1, 1000000);
    if (n) k = whole_number(text.substr(0, slash), 1, *n);
  }
  if (!k || !n) {
    error = "--shard takes K/N with 1 <= K <= N, not \"" + text + "\"";
    return false;
  }
  o.shard_index = static_cast<int>(*k);
  o.shard_count = static_cast<int>(*n);
  return true;
}

// Checks what only the options together can tell.
std::string inconsistency(const BatchOptions& o) {
  if (!o.raw && (o.window_from || o.linear || o.ends || o.background.any()))
    return "--window, --linear, --ends and the background's options need --raw";
  if (std::string b = background_inconsistency(o.background, o.linear); !b.empty()) return b;
  if (!o.out_dir.empty() && !o.csv && !o.bmp && !o.report)
    return "--out needs --csv, --bmp or --report";
  if (o.out_dir.empty() && (o.csv || o.bmp || o.report))
    return "--csv, --bmp and --report need --out DIR";
  return "";
}

// One option of the command line: its names, its value's placeholder (none: a switch), its
// help (continuation lines after a line end) and what it sets. `under` indents its help as
// belonging to the option above it. Parsing, --help and the test that the README lists every
// option all read this table, so a new option is one row.
struct OptionRow {
  const char* name;
  const char* alias;        // a short form, or nullptr
  const char* placeholder;  // the value's name in --help; nullptr for a switch
  bool under;
  const char* help;
  // Sets the option from its value; a usage error, or empty. A switch has none and sets its
  // flag instead.
  std::string (*apply)(const std::string& value, BatchOptions& o);
  bool BatchOptions::*flag = nullptr;
  bool flag_value = true;
};

std::string set_presses(const std::string& value, BatchOptions& o) {
  const auto n = whole_number(value, 0, 1000);
  if (!n) return "--presses takes a whole number from 0 to 1000, not \"" + value + "\"";
  o.presses = static_cast<int>(*n);
  return "";
}

std::string set_weights(const std::string& value, BatchOptions& o) {
  if (value != "counts" && value != "none")
    return "--weights takes counts or none, not \"" + value + "\"";
  o.weight_counts = value == "counts";
  return "";
}

std::string set_window(const std::string& value, BatchOptions& o) {
  std::string error;
  read_window(value, o, error);
  return error;
}

std::string set_ends(const std::string& value, BatchOptions& o) {
  if (!whole_number(value, 1, 1000))
    return "--ends takes a whole number from 1 to 1000, not \"" + value + "\"";
  o.ends = value;
  return "";
}

std::string set_out(const std::string& value, BatchOptions& o) {
  if (value.empty()) return "--out needs a folder";
  o.out_dir = value;
  return "";
}

std::string set_figure(const std::string& value, BatchOptions& o) {
  if (value.empty()) return "--figure needs a folder";
  o.figure_dir = value;
  return "";
}

std::string set_jobs(const std::string& value, BatchOptions& o) {
  const auto n = whole_number(value, 1, 1024);
  if (!n) return "--jobs takes a whole number from 1 to 1024, not \"" + value + "\"";
  o.jobs = static_cast<int>(*n);
  return "";
}

std::string set_shard(const std::string& value, BatchOptions& o) {
  std::string error;
  read_shard(value, o, error);
  return error;
}

// The background's options, read by their own file (background_options.h).
template <const char* kName>
std::string set_background(const std::string& value, BatchOptions& o) {
  std::string error;
  read_background_option(kName, value, o.background, error);
  return error;
}
constexpr char kBackground[] = "--background", kTougaardB[] = "--tougaard-b",
               kKernel[] = "--kernel", kOffsets[] = "--offsets", kExcitation[] = "--excitation";

// --help is answered before any other option is applied.
std::string no_effect(const std::string&, BatchOptions&) { return ""; }

const OptionRow kOptions[] = {
    {"--help", "-h", nullptr, false, nullptr, no_effect},
    {"--presses", nullptr, "N", false, "press \"FITTING\" N times (default 1; 0 loads only)",
     set_presses},
    {"--refine", nullptr, nullptr, false, "then Refine (least squares)", nullptr,
     &BatchOptions::refine},
    {"--weights", nullptr, "W", true,
     "Refine weighted by counting statistics (counts) or not (none);\n"
     "by default counts for raw spectra, none for records",
     set_weights},
    {"--raw", nullptr, nullptr, false,
     "open the spectra as raw instrument files (background computed)", nullptr, &BatchOptions::raw},
    {"--window", nullptr, "FROM:TO", true, "the raw spectrum's x window (either side may be empty)",
     set_window},
    {"--linear", nullptr, nullptr, true, "a straight background instead of Shirley", nullptr,
     &BatchOptions::linear},
    {"--ends", nullptr, "N", true, "points averaged at each end for the background's levels",
     set_ends},
    {kBackground, nullptr, "M", true, "the background: linear, shirley (the default) or tougaard",
     set_background<kBackground>},
    {kTougaardB, nullptr, "B", true, "Tougaard's B (absent: fitted to the high end)",
     set_background<kTougaardB>},
    {kKernel, nullptr, "K", true, "Tougaard's kernel: universal (the default), sio2, or C,C',D",
     set_background<kKernel>},
    {kOffsets, nullptr, "LOW:HIGH", true,
     "points skipped at each end before its points are averaged", set_background<kOffsets>},
    {kExcitation, nullptr, "E", true,
     "a text file in kinetic energy: the excitation energy in eV,\nalka (1486.6) or mgka (1253.6)",
     set_background<kExcitation>},
    {"--out", nullptr, "DIR", false,
     "where the files below go (DIR/NAME.csv, NAME.bmp, NAME.report.csv)", set_out},
    {"--csv", nullptr, nullptr, true, "the curves, as \"export as TEXT\" writes them", nullptr,
     &BatchOptions::csv},
    {"--bmp", nullptr, nullptr, true, "the graph image", nullptr, &BatchOptions::bmp},
    {"--report", nullptr, nullptr, true, "the fit report", nullptr, &BatchOptions::report},
    {"--figure", nullptr, "DIR", false, "the fit view of each spectrum as DIR/NAME.svg",
     set_figure},
    {"--no-header", nullptr, nullptr, false, "no header line", nullptr, &BatchOptions::header,
     false},
    {"--quiet", "-q", nullptr, false, "no progress line on a terminal", nullptr,
     &BatchOptions::quiet},
    {"--shard", nullptr, "K/N", false, "only the spectra at positions K, K+N, K+2N... (from 1)",
     set_shard},
    {"--jobs", nullptr, "N", false,
     "N spectra at once, each in a thread of its own (default: one per\ncore); the lines come in "
     "the spectra's order all the same",
     set_jobs},
};

const OptionRow* find_option(const std::string& name) {
  for (const OptionRow& row : kOptions)
    if (name == row.name || (row.alias && name == row.alias)) return &row;
  return nullptr;
}

}  // namespace

ParsedCommandLine parse_batch_command_line(const std::vector<std::string>& args) {
  ParsedCommandLine result;
  BatchOptions o;
  std::vector<std::string> files;
  bool options_ended = false;
  auto fail = [&result](std::string message) {
    result.error = std::move(message);
    return result;
  };

  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (options_ended || a.size() < 2 || a[0] != '-') {
      files.push_back(a);
      continue;
    }
    if (a == "--") {
      options_ended = true;
      continue;
    }
    // Options with a value take it from the next word or after "=".
    std::string name = a, value;
    bool has_value = false;
    if (const auto eq = a.find('='); eq != std::string::npos) {
      name = a.substr(0, eq);
      value = a.substr(eq + 1);
      has_value = true;
    }
    const OptionRow* row = find_option(name);
    const bool takes_value = row && row->placeholder;
    if (takes_value && !has_value) {
      if (i + 1 >= args.size()) return fail(name + " needs a value");
      value = args[++i];
    } else if (!takes_value && has_value) {
      return fail(name + " takes no value");
    }
    if (!row) return fail("unknown option " + name);
    if (row->apply == no_effect) {
      result.help = true;
      return result;
    }
    if (row->flag) {
      o.*(row->flag) = row->flag_value;
    } else if (std::string error = row->apply(value, o); !error.empty()) {
      return fail(error);
    }
  }

  if (files.empty()) return fail("the settings file is missing");
  if (files.size() == 1) return fail("no spectrum given");
  if (std::string problem = inconsistency(o); !problem.empty()) return fail(problem);
  o.settings = files.front();
  o.spectra.assign(files.begin() + 1, files.end());
  result.options = std::move(o);
  return result;
}

std::string batch_usage() {
  std::string text =
      "usage: tessaly batch [options] SETTINGS.cfg SPECTRUM...\n"
      "For each spectrum: the settings loaded afresh, the spectrum opened, \"FITTING\" "
      "pressed;\n"
      "an analysis file (Save analysis...) may stand for SETTINGS.cfg: its components,\n"
      "their full values and its way of loading the spectrum.\n"
      "one CSV line per spectrum on standard output.\n";
  for (const OptionRow& row : kOptions) {
    if (!row.help) continue;
    // The help starts in column 19, or 21 for an option under the one above it.
    const std::size_t column = row.under ? 21 : 19;
    std::string line = "  " + std::string(row.name);
    if (row.placeholder) line += std::string(" ") + row.placeholder;
    line.resize(std::max(column, line.size() + 1), ' ');
    const std::string help = row.help;
    std::size_t start = 0;
    for (std::size_t end; (end = help.find('\n', start)) != std::string::npos; start = end + 1) {
      text += line + help.substr(start, end - start) + "\n";
      line.assign(column, ' ');
    }
    text += line + help.substr(start) + "\n";
  }
  return text + "Exit status: 0 every spectrum ok, 1 some failed, 2 usage error.\n";
}

std::vector<std::string> batch_option_names() {
  std::vector<std::string> names;
  for (const OptionRow& row : kOptions) names.emplace_back(row.name);
  return names;
}

bool in_shard(std::size_t position, int shard_index, int shard_count) {
  if (shard_count <= 1) return true;
  return position % static_cast<std::size_t>(shard_count) ==
         static_cast<std::size_t>(shard_index) % static_cast<std::size_t>(shard_count);
}

}  // namespace batch
