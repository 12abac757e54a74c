#include "platform/batch/output_names.h"

#include <sys/stat.h>

#include <filesystem>
#include <map>

namespace batch {
namespace {

namespace fs = std::filesystem;

// The path the system would reach, for a file that may not exist yet.
std::string resolved(const fs::path& path) {
  std::error_code ec;
  fs::path absolute = fs::absolute(path, ec);
  if (ec) absolute = path;
  fs::path real = fs::weakly_canonical(absolute, ec);
  return (ec ? absolute.lexically_normal() : real).string();
}

// A hard link has a path of its own; its device and inode say that it is the same file.
std::optional<std::pair<dev_t, ino_t>> identity(const std::string& path) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) return std::nullopt;
  return std::make_pair(st.st_dev, st.st_ino);
}

}  // namespace

std::string output_stem(const std::string& spectrum_path) {
  const auto slash = spectrum_path.rfind('/');
  std::string name = slash == std::string::npos ? spectrum_path : spectrum_path.substr(slash + 1);
  // ".bgd" loses its extension; a dot-file such as ".hidden" keeps its whole name.
  if (const auto dot = name.rfind('.'); dot != std::string::npos && dot > 0) name.erase(dot);
  return name;
}

std::optional<std::pair<std::size_t, std::size_t>> first_stem_clash(
    const std::vector<std::string>& spectra) {
  std::map<std::string, std::size_t> seen;
  for (std::size_t i = 0; i < spectra.size(); ++i) {
    auto [it, fresh] = seen.emplace(output_stem(spectra[i]), i);
    if (!fresh) return std::make_pair(it->second, i);
  }
  return std::nullopt;
}

std::vector<std::string> output_suffixes(const BatchOptions& options) {
  std::vector<std::string> suffixes;
  if (options.csv) suffixes.emplace_back(".csv");
  if (options.bmp) suffixes.emplace_back(".bmp");
  if (options.report) suffixes.emplace_back(".report.csv");
  return suffixes;
}

std::string output_clash(const BatchOptions& options) {
  // Every folder and file-name ending a spectrum's outputs go to.
  std::vector<std::pair<std::string, std::string>> places;
  if (!options.out_dir.empty())
    for (const std::string& suffix : output_suffixes(options))
      places.emplace_back(options.out_dir, suffix);
  if (!options.figure_dir.empty()) places.emplace_back(options.figure_dir, ".svg");
  if (places.empty()) return "";

  std::map<std::string, const std::string*> inputs;
  std::map<std::pair<dev_t, ino_t>, const std::string*> input_files;
  const auto note_input = [&](const std::string& input) {
    inputs.emplace(resolved(input), &input);
    if (const auto id = identity(input)) input_files.emplace(*id, &input);
  };
  note_input(options.settings);
  for (const std::string& spectrum : options.spectra) note_input(spectrum);

  std::map<std::string, const std::string*> outputs;  // each output and whose it is
  for (const std::string& spectrum : options.spectra) {
    const std::string stem = output_stem(spectrum);
    for (const auto& [dir, suffix] : places) {
      const std::string output = (fs::path(dir) / (stem + suffix)).string();
      const std::string path = resolved(output);
      const std::string* input = nullptr;
      if (const auto it = inputs.find(path); it != inputs.end()) input = it->second;
      if (const auto id = identity(output); id && !input) {
        if (const auto it = input_files.find(*id); it != input_files.end()) input = it->second;
      }
      if (input)
        return "the output " + output + " of " + spectrum + " would replace the input " + *input;
      auto [it, fresh] = outputs.emplace(path, &spectrum);
      if (!fresh)
        return "the outputs of " + *it->second + " and " + spectrum + " would have the same name " +
               output;
    }
  }
  return "";
}

}  // namespace batch
