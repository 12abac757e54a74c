#include "platform/batch/batch_options.h"

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
  if (!o.raw && (o.window_from || o.linear || o.ends))
    return "--window, --linear and --ends need --raw";
  if (!o.out_dir.empty() && !o.csv && !o.bmp && !o.report)
    return "--out needs --csv, --bmp or --report";
  if (o.out_dir.empty() && (o.csv || o.bmp || o.report))
    return "--csv, --bmp and --report need --out DIR";
  return "";
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
    const bool takes_value = name == "--presses" || name == "--window" || name == "--ends" ||
                             name == "--out" || name == "--shard" || name == "--weights" ||
                             name == "--figure" || name == "--jobs";
    if (takes_value && !has_value) {
      if (i + 1 >= args.size()) return fail(name + " needs a value");
      value = args[++i];
    } else if (!takes_value && has_value) {
      return fail(name + " takes no value");
    }

    if (name == "--help" || name == "-h") {
      result.help = true;
      return result;
    } else if (name == "--presses") {
      const auto n = whole_number(value, 0, 1000);
      if (!n) return fail("--presses takes a whole number from 0 to 1000, not \"" + value + "\"");
      o.presses = static_cast<int>(*n);
    } else if (name == "--refine") {
      o.refine = true;
    } else if (name == "--weights") {
      if (value != "counts" && value != "none")
        return fail("--weights takes counts or none, not \"" + value + "\"");
      o.weight_counts = value == "counts";
    } else if (name == "--raw") {
      o.raw = true;
    } else if (name == "--window") {
      if (!read_window(value, o, result.error)) return result;
    } else if (name == "--linear") {
      o.linear = true;
    } else if (name == "--ends") {
      if (!whole_number(value, 1, 1000))
        return fail("--ends takes a whole number from 1 to 1000, not \"" + value + "\"");
      o.ends = value;
    } else if (name == "--out") {
      if (value.empty()) return fail("--out needs a folder");
      o.out_dir = value;
    } else if (name == "--csv") {
      o.csv = true;
    } else if (name == "--bmp") {
      o.bmp = true;
    } else if (name == "--report") {
      o.report = true;
    } else if (name == "--figure") {
      if (value.empty()) return fail("--figure needs a folder");
      o.figure_dir = value;
    } else if (name == "--no-header") {
      o.header = false;
    } else if (name == "--quiet" || name == "-q") {
      o.quiet = true;
    } else if (name == "--shard") {
      if (!read_shard(value, o, result.error)) return result;
    } else if (name == "--jobs") {
      const auto n = whole_number(value, 1, 1024);
      if (!n) return fail("--jobs takes a whole number from 1 to 1024, not \"" + value + "\"");
      o.jobs = static_cast<int>(*n);
    } else {
      return fail("unknown option " + name);
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
  return "usage: tessaly batch [options] SETTINGS.cfg SPECTRUM...\n"
         "For each spectrum: the settings loaded afresh, the spectrum opened, \"FITTING\" "
         "pressed;\n"
         "one CSV line per spectrum on standard output.\n"
         "  --presses N      press \"FITTING\" N times (default 1; 0 loads only)\n"
         "  --refine         then Refine (least squares)\n"
         "  --weights W        Refine weighted by counting statistics (counts) or not (none);\n"
         "                     by default counts for raw spectra, none for records\n"
         "  --raw            open the spectra as raw instrument files (background computed)\n"
         "  --window FROM:TO   the raw spectrum's x window (either side may be empty)\n"
         "  --linear           a straight background instead of Shirley\n"
         "  --ends N           points averaged at each end for the background's levels\n"
         "  --out DIR        where the files below go (DIR/NAME.csv, NAME.bmp, NAME.report.csv)\n"
         "  --csv              the curves, as \"export as TEXT\" writes them\n"
         "  --bmp              the graph image\n"
         "  --report           the fit report\n"
         "  --figure DIR     the fit view of each spectrum as DIR/NAME.svg\n"
         "  --no-header      no header line\n"
         "  --quiet          no progress line on a terminal\n"
         "  --shard K/N      only the spectra at positions K, K+N, K+2N... (from 1)\n"
         "  --jobs N         N spectra at once, each in a thread of its own (default: one per\n"
         "                   core); the lines come in the spectra's order all the same\n"
         "Exit status: 0 every spectrum ok, 1 some failed, 2 usage error.\n";
}

bool in_shard(std::size_t position, int shard_index, int shard_count) {
  if (shard_count <= 1) return true;
  return position % static_cast<std::size_t>(shard_count) ==
         static_cast<std::size_t>(shard_index) % static_cast<std::size_t>(shard_count);
}

}  // namespace batch
