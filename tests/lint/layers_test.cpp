// The layers of the program, lowest first: runtime, forms, then app's workspace, model, the
// subsystems fit, graph and files (side by side, none including another), commands (the event
// procedures) and shell (start-up and the session). A file may include its own folder and the
// folders below it, never one above or beside it; runtime, forms and app never include the
// platform layer or Qt. The platform stands on the run-time, the forms and app/shell alone
// (the session, the program's view and its user steps), never on a subsystem's internals:
// actions and text below, the headless driver and the desktop above them, the batch on the
// headless driver. This test reads every include of the tree's program code and fails on one
// that runs against the layers, so that the tree keeps showing what depends on what.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <regex>
#include <set>
#include <string>
#include <vector>

namespace {

// Each folder and the folders its files may include (besides itself).
const std::map<std::string, std::set<std::string>>& layers() {
  static const std::map<std::string, std::set<std::string>> table = [] {
    const std::set<std::string> runtime = {"runtime"};
    std::set<std::string> forms = runtime;
    forms.insert("forms");
    std::set<std::string> workspace = forms;
    workspace.insert("app/workspace");
    std::set<std::string> model = workspace;
    model.insert("app/model");
    std::set<std::string> commands = model;
    commands.insert({"app/fit", "app/graph", "app/files", "app/commands"});
    std::set<std::string> shell = commands;
    shell.insert("app/shell");
    std::map<std::string, std::set<std::string>> t;
    t["runtime"] = runtime;
    t["forms"] = forms;
    t["app/workspace"] = workspace;
    t["app/model"] = model;
    for (const char* subsystem : {"app/fit", "app/graph", "app/files"}) {
      t[subsystem] = model;
      t[subsystem].insert(subsystem);
    }
    t["app/commands"] = commands;
    t["app/shell"] = shell;
    std::set<std::string> actions = forms;
    actions.insert("platform/actions");
    std::set<std::string> text = runtime;
    text.insert("platform/text");
    std::set<std::string> driver = actions;
    driver.insert({"app/shell", "platform/text"});
    t["platform/actions"] = actions;
    t["platform/text"] = text;
    t["platform/headless"] = driver;
    t["platform/qt"] = driver;
    t["platform/batch"] = driver;
    t["platform/batch"].insert("platform/headless");
    t["platform"] = driver;
    t["platform"].insert({"platform/headless", "platform/qt", "platform/batch"});
    return t;
  }();
  return table;
}

// Where Qt may be included: the platform's folders that link it.
bool may_include_qt(const std::string& layer) {
  return layer == "platform" || layer == "platform/text" || layer == "platform/headless" ||
         layer == "platform/qt" || layer == "platform/batch";
}

// The layer a path of the tree belongs to: "runtime", "forms", "app/<folder>", "platform" (its
// main program) or "platform/<folder>".
std::string layer_of(const std::string& path) {
  const std::size_t first = path.find('/');
  const std::string top = path.substr(0, first);
  if ((top != "app" && top != "platform") || first == std::string::npos) return top;
  const std::size_t second = path.find('/', first + 1);
  return second == std::string::npos ? top : path.substr(0, second);
}

// Why `includer` may not include `included` (both paths from the tree's root), or nothing.
std::optional<std::string> violation(const std::string& includer, const std::string& included) {
  const std::string from = layer_of(includer);
  const auto allowed = layers().find(from);
  if (allowed == layers().end())
    return "folder " + from +
           " has no place in the layers: add it to the table in this test and to README";
  if (included.rfind("<Q", 0) == 0)
    return may_include_qt(from)
               ? std::nullopt
               : std::optional<std::string>(from + " may not include Qt (" + included + ")");
  if (included.front() == '<') return std::nullopt;
  const std::string to = layer_of(included);
  // The readers and writers take a path or bytes; asking the user for the file is a command's.
  if (from == "app/files" && included.rfind("runtime/dialogs/", 0) == 0)
    return "app/files reads and writes what it is given; its dialog belongs to app/commands (" +
           included + ")";
  if (to == from || allowed->second.count(to) != 0) return std::nullopt;
  return from + " may not include " + to + " (" + included + ")";
}

// The includes of a source, with their lines; includes inside block comments are not expected.
std::vector<std::pair<int, std::string>> includes(const std::string& source) {
  static const std::regex pattern(R"(^\s*#\s*include\s*([<"][^>"]+[>"]))");
  std::vector<std::pair<int, std::string>> out;
  int line = 0;
  std::size_t start = 0;
  while (start <= source.size()) {
    std::size_t end = source.find('\n', start);
    if (end == std::string::npos) end = source.size();
    ++line;
    std::smatch m;
    const std::string text = source.substr(start, end - start);
    if (std::regex_search(text, m, pattern)) {
      std::string target = m[1].str();
      if (target.front() == '"') target = target.substr(1, target.size() - 2);
      out.emplace_back(line, target);
    }
    start = end + 1;
  }
  return out;
}

TEST(Layers, RulesRefuseIncludesAgainstTheLayers) {
  const struct {
    const char* includer;
    const char* included;
    bool allowed;
  } cases[] = {
      // Downwards and within a folder.
      {"app/commands/fit_commands.cpp", "app/fit/fitting.h", true},
      {"app/commands/fit_commands.cpp", "app/graph/drawgraph.h", true},
      {"app/fit/kai2.cpp", "app/model/calc_fitline.h", true},
      {"app/graph/drawgraph.cpp", "app/workspace/peak_colours.h", true},
      {"app/shell/program.cpp", "app/commands/event_table.h", true},
      {"app/workspace/peak_table.cpp", "forms/form_library.h", true},
      {"app/files/spectrum_load.cpp", "runtime/files/file_channels.h", true},
      {"app/commands/chosen_files.cpp", "runtime/dialogs/file_dialogs.h", true},
      {"runtime/forms/events.cpp", "runtime/errors/error_report.h", true},
      {"app/fit/fitting.cpp", "<vector>", true},
      // The run-time stands on nothing of the program or the platform.
      {"runtime/forms/events.cpp", "app/workspace/workspace.h", false},
      {"runtime/forms/objects.cpp", "forms/form_library.h", false},
      {"runtime/picture/text_renderer.cpp", "platform/text/qt_text_renderer.h", false},
      {"forms/form2.cpp", "app/workspace/peak_table.h", false},
      // Subsystems never reach up to the commands or the shell, nor sideways.
      {"app/fit/fitting.cpp", "app/commands/fit_commands.h", false},
      {"app/files/spectrum_load.cpp", "app/shell/session.h", false},
      {"app/files/spectrum_load.cpp", "runtime/dialogs/file_dialogs.h", false},
      {"app/fit/fitting.cpp", "app/graph/drawgraph.h", false},
      {"app/graph/drawgraph.cpp", "app/fit/kai2.h", false},
      {"app/files/result_export.cpp", "app/graph/drawgraph.h", false},
      {"app/model/calc_fitline.cpp", "app/fit/kai2.h", false},
      {"app/workspace/peak_table.cpp", "app/model/peak_profile.h", false},
      {"app/commands/about_commands.cpp", "app/shell/program.h", false},
      // No Qt and no platform below the platform layer; a new folder must be placed first.
      {"app/graph/drawgraph.cpp", "<QImage>", false},
      {"app/shell/session.cpp", "platform/qt/qt_platform.h", false},
      {"app/newfolder/x.cpp", "runtime/forms/objects.h", false},
      // The platform reads and drives the program through the shell's doors only.
      {"platform/batch/spectrum_run.cpp", "app/shell/program_view.h", true},
      {"platform/batch/spectrum_run.cpp", "platform/headless/script_driver.h", true},
      {"platform/batch/spectrum_run.cpp", "forms/named_controls.h", true},
      {"platform/qt/desktop.cpp", "<QApplication>", true},
      {"platform/main.cpp", "platform/qt/desktop.h", true},
      {"platform/batch/spectrum_run.cpp", "app/fit/kai2.h", false},
      {"platform/batch/spectrum_run.cpp", "app/workspace/workspace.h", false},
      {"platform/headless/script_driver.cpp", "app/commands/undo_history.h", false},
      {"platform/qt/qt_widgets.cpp", "app/graph/drawgraph.h", false},
      {"platform/qt/qt_widgets.cpp", "app/model/fit_report.h", false},
      {"platform/actions/user_action.cpp", "app/shell/session.h", false},
      {"platform/actions/user_action.cpp", "<QString>", false},
      {"platform/text/qt_text_renderer.cpp", "forms/form_library.h", false},
      {"platform/headless/script_driver.cpp", "platform/qt/qt_platform.h", false},
      {"platform/qt/desktop.cpp", "platform/batch/batch_main.h", false},
      {"platform/newfolder/x.cpp", "runtime/forms/objects.h", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.includer) + " -> " + c.included);
    EXPECT_EQ(!violation(c.includer, c.included).has_value(), c.allowed);
  }
  const auto found =
      includes("#include \"app/fit/kai2.h\"\n// #include \"x.h\"\n  # include <vector>\n");
  ASSERT_EQ(found.size(), 2u);
  EXPECT_EQ(found[0], (std::pair<int, std::string>{1, "app/fit/kai2.h"}));
  EXPECT_EQ(found[1], (std::pair<int, std::string>{3, "<vector>"}));
}

TEST(Layers, EveryIncludeOfTheTreeRunsDownwards) {
  const std::filesystem::path root = TESSALY_SOURCE_DIR;
  int files = 0;
  for (const char* folder : {"runtime", "forms", "app", "platform"}) {
    ASSERT_TRUE(std::filesystem::is_directory(root / folder)) << (root / folder);
    for (const auto& entry : std::filesystem::recursive_directory_iterator(root / folder)) {
      const auto extension = entry.path().extension();
      if (!entry.is_regular_file() || (extension != ".h" && extension != ".cpp")) continue;
      ++files;
      const std::string path = std::filesystem::relative(entry.path(), root).generic_string();
      std::ifstream in(entry.path(), std::ios::binary);
      const std::string source((std::istreambuf_iterator<char>(in)),
                               std::istreambuf_iterator<char>());
      for (const auto& [line, included] : includes(source))
        if (const auto why = violation(path, included))
          ADD_FAILURE() << path << ":" << line << ": " << *why;
    }
  }
  EXPECT_GT(files, 0);
}

}  // namespace
