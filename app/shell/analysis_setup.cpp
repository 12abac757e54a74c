#include "app/shell/analysis_setup.h"

#include <fstream>

#include "app/commands/analysis_file.h"
#include "app/files/analysis_json.h"

namespace app {

bool is_analysis_file(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::string start(64, '\0');
  in.read(start.data(), static_cast<std::streamsize>(start.size()));
  start.resize(static_cast<std::size_t>(in.gcount()));
  return looks_like_json(start);
}

void check_analysis_file(const std::string& path) { (void)read_analysis_file(path); }

AnalysisSetup apply_analysis_file_setup(const std::string& path) {
  const AnalysisDocument document = read_analysis_file(path);
  apply_analysis_setup(document);
  return {document.spectrum.raw, document.weight_counts};
}

}  // namespace app
