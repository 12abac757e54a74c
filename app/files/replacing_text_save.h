#pragma once

#include <string>
#include <vector>

namespace app {

// Writes the lines to `path` through file number 1, each ended by CR LF, into a file beside
// the target that replaces it only once every line is written: a failure reports its error
// and leaves any earlier file at `path` as it was.
void save_text_lines(const std::string& path, const std::vector<std::string>& lines);

}  // namespace app
