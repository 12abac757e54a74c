#include "platform/batch/output_names.h"

#include <map>

namespace batch {

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

}  // namespace batch
