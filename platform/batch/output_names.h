#pragma once
// Where a spectrum's exported files go: DIR/NAME.csv, DIR/NAME.bmp and DIR/NAME.report.csv,
// NAME being the spectrum's file name without its last extension.

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace batch {

std::string output_stem(const std::string& spectrum_path);

// The positions (from 0) of the first two spectra whose files would overwrite each other's
// outputs, or nothing.
std::optional<std::pair<std::size_t, std::size_t>> first_stem_clash(
    const std::vector<std::string>& spectra);

}  // namespace batch
