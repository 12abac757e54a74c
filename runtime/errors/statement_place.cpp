#include "runtime/errors/statement_place.h"

#include <array>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "runtime/state/runtime_state.h"

namespace rt {
namespace {

constexpr std::string_view kRunTimeFolder = "runtime";

// The run-time's own folder, or one of those the program named as its own.
bool is_tree(std::string_view part) {
  if (part == kRunTimeFolder) return true;
  for (const std::string& tree : state().places.program_folders)
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
  return tree.name == kRunTimeFolder ? SourceSide::RunTime : SourceSide::Program;
}

}  // namespace

SourceSide source_side(const char* file) {
  // The names are the compiler's literals: one pointer per file, so a few remembered answers
  // spare the scan on the run-time's busy entry points.
  auto& known = state().places.known;
  StatementPlaces::Known& slot =
      known[(reinterpret_cast<std::uintptr_t>(file) >> 4) % known.size()];
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
    state().places.last = {where.file_name(), where.line()};
}

void set_program_source_folders(std::vector<std::string> folders) {
  state().places.program_folders = std::move(folders);
  state().places.known = {};
}

void forget_statement() { state().places.last = {}; }

StatementPlace last_statement() { return state().places.last; }

}  // namespace rt
