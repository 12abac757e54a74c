#pragma once
// The command line of `tessaly batch [options] SETTINGS.cfg SPECTRUM...`, read without side
// effects so that every refusal is a usage error before any spectrum is touched.

#include <optional>
#include <string>
#include <vector>

#include "platform/batch/background_options.h"

namespace batch {

struct BatchOptions {
  int presses = 1;  // "FITTING" presses per spectrum (0: load only)
  bool refine = false;
  // --weights counts|none: Refine weighted by counting statistics or not; absent, as the load
  // sets it (counts for raw spectra, none for records).
  std::optional<bool> weight_counts;

  // Raw spectra: the texts go into the raw window's fields as a user would type them; an
  // absent option leaves that field as the window starts.
  bool raw = false;
  std::optional<std::string> window_from, window_to;
  bool linear = false;
  std::optional<std::string> ends;
  BackgroundOptions background;

  std::string out_dir;  // where --csv, --bmp and --report write
  bool csv = false, bmp = false, report = false;
  std::string figure_dir;  // --figure: the fit view of each spectrum as DIR/NAME.svg

  bool header = true;
  bool quiet = false;
  int shard_index = 1, shard_count = 1;  // --shard K/N
  int jobs = 0;  // --jobs N: spectra run at once, each in a thread (0: one per core)

  std::string settings;
  std::vector<std::string> spectra;
};

struct ParsedCommandLine {
  std::optional<BatchOptions> options;  // empty on a usage error or after --help
  std::string error;                    // the usage error, one line
  bool help = false;
};

// `args` are the words after "batch". Options may come anywhere before "--"; everything after
// it is a file.
ParsedCommandLine parse_batch_command_line(const std::vector<std::string>& args);

// The text `tessaly batch --help` prints.
std::string batch_usage();

// Every option's long name ("--presses"), in the order --help lists them.
std::vector<std::string> batch_option_names();

// Whether the spectrum at `position` (from 1) belongs to shard K of N: position = K modulo N.
bool in_shard(std::size_t position, int shard_index, int shard_count);

}  // namespace batch
