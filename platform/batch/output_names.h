#pragma once
// Where a spectrum's exported files go: DIR/NAME.csv, DIR/NAME.bmp and DIR/NAME.report.csv (and
// the figure FIGURES/NAME.svg),
// NAME being the spectrum's file name without its last extension.

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/batch/batch_options.h"

namespace batch {

std::string output_stem(const std::string& spectrum_path);

// The positions (from 0) of the first two spectra whose files would overwrite each other's
// outputs, or nothing.
std::optional<std::pair<std::size_t, std::size_t>> first_stem_clash(
    const std::vector<std::string>& spectra);

// The file names a spectrum's outputs get with these options, after its stem.
std::vector<std::string> output_suffixes(const BatchOptions& options);

// Why the run's outputs cannot be written: one would replace one of its inputs (a spectrum or
// the settings file), or two would be the same file. Paths are compared as the system resolves
// them (links followed, "." and ".." taken out), so no name for a file hides it. Empty when
// every output is a file of its own.
std::string output_clash(const BatchOptions& options);

}  // namespace batch
