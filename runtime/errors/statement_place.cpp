#include "runtime/errors/statement_place.h"

#include <array>
#include <cstdint>
#include <cstring>
#include <string_view>

namespace rt {
namespace {

StatementPlace g_last;

bool is_tree(std::string_view part) {
  static constexpr std::string_view kTrees[] = {"app",  "runtime", "platform", "tests",
                                                "fuzz", "bench",   "forms"};
  for (std::string_view tree : kTrees)
    if (part == tree) return true;
  return false;
}

// The top folder of our trees that holds the file, and where it starts in the path: the last
// folder with a tree's name, or the one above it when that has a tree's name too
// ("runtime/forms/objects.cpp" is the run-time's, "tests/forms/objects_test.cpp" a test's).
struct TreeFolder {
  std::string_view name;
  std::size_t start = std::string_view::npos;
};

TreeFolder tree_folder(std::string_view path) {
  TreeFolder found, above;
  std::size_t start = 0;
  while (start < path.size()) {
    const std::size_t end = path.find_first_of("/\\", start);
    if (end == std::string_view::npos) break;  // the last part is the file's own name
    const std::string_view part = path.substr(start, end - start);
    if (is_tree(part)) {
      above = found.start != std::string_view::npos && found.start + found.name.size() + 1 == start
                  ? found
                  : TreeFolder{};
      found = {part, start};
    }
    start = end + 1;
  }
  return above.start != std::string_view::npos ? above : found;
}

SourceSide classify(const char* file) {
  const TreeFolder tree = tree_folder(file);
  if (tree.start == std::string_view::npos) return SourceSide::Library;
  return tree.name == "runtime" ? SourceSide::RunTime : SourceSide::Program;
}

}  // namespace

SourceSide source_side(const char* file) {
  // The names are the compiler's literals: one pointer per file, so a few remembered answers
  // spare the scan on the run-time's busy entry points.
  struct Known {
    const char* file = nullptr;
    SourceSide side = SourceSide::Library;
  };
  static std::array<Known, 64> known;
  Known& slot = known[(reinterpret_cast<std::uintptr_t>(file) >> 4) % known.size()];
  if (slot.file != file) slot = {file, classify(file)};
  return slot.side;
}

std::string source_path(const char* file) {
  const std::string_view path(file);
  const TreeFolder tree = tree_folder(path);
  return std::string(tree.start == std::string_view::npos ? path : path.substr(tree.start));
}

void note_statement(const std::source_location& where) {
  if (source_side(where.file_name()) == SourceSide::Program)
    g_last = {where.file_name(), where.line()};
}

void forget_statement() { g_last = {}; }

StatementPlace last_statement() { return g_last; }

}  // namespace rt
