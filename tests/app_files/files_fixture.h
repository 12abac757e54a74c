#pragma once
// The program started headless with a platform that answers its dialogs as a test queues them,
// a fresh folder per test, and a snapshot of everything a refused load or save must not touch.

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <deque>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "../support/program_fixture.h"
#include "../support/run_time_errors.h"
#include "app/workspace/control_refs.h"
#include "app/workspace/workspace.h"
#include "runtime/forms/control_values.h"
#include "tests/support/quiet_platform.h"

namespace files_test {

// Answers file dialogs and questions from queues and keeps what it was asked.
struct ScriptedPlatform : testing_support::QuietPlatform {
  std::deque<std::optional<std::string>> files;  // nullopt: the user cancels
  std::deque<int> questions;
  std::vector<rt::FileDialogRequest> dialogs;
  std::vector<rt::MessageBoxRequest> boxes;
  std::function<void()> during_dialog;
  int pumps = 0;
  std::function<void()> during_pump;

  std::optional<std::string> file_dialog(const rt::FileDialogRequest& r) override {
    dialogs.push_back(r);
    if (during_dialog) during_dialog();
    if (files.empty()) {
      ADD_FAILURE() << "unexpected file dialog " << r.title;
      return std::nullopt;
    }
    auto answer = files.front();
    files.pop_front();
    return answer;
  }
  void process_pending() override {
    ++pumps;
    if (during_pump) during_pump();
  }
  int message_box(const rt::MessageBoxRequest& r) override {
    boxes.push_back(r);
    if (questions.empty()) {
      ADD_FAILURE() << "unexpected question " << r.text;
      return rt::kNo;
    }
    int answer = questions.front();
    questions.pop_front();
    return answer;
  }
};

// The spectrum and its ranges, and every control's text and state.
struct ProgramState {
  std::vector<float> x, y;
  std::vector<float> long_x, long_y;  // a long spectrum's points
  std::int16_t lastpoint = 0;
  float xmin = 0, xmax = 0, ymin = 0, dataxmin = 0, dataxmax = 0, dataymin = 0;
  double ymax = 0, dataymax = 0;
  std::string filepath;
  std::vector<std::string> texts;
  std::vector<int> checks;
  bool operator==(const ProgramState&) const = default;
};

// Names the first difference, so that a failure says what a command changed.
inline void PrintTo(const ProgramState& s, std::ostream* os) {
  *os << "LASTPOINT " << s.lastpoint << ", X " << s.xmin << ".." << s.xmax << ", Y " << s.ymin
      << ".." << s.ymax << ", data X " << s.dataxmin << ".." << s.dataxmax << ", data Y "
      << s.dataymin << ".." << s.dataymax << ", FILEPATH \"" << s.filepath << "\"";
}

inline std::string first_difference(const ProgramState& a, const ProgramState& b) {
  for (std::size_t i = 0; i < a.x.size(); ++i)
    if (a.x[i] != b.x[i]) return "XDATA(" + std::to_string(i) + ")";
  for (std::size_t i = 0; i < a.y.size(); ++i)
    if (a.y[i] != b.y[i]) return "YDATA(" + std::to_string(i) + ")";
  if (a.long_x != b.long_x || a.long_y != b.long_y) return "the long spectrum";
  for (std::size_t i = 0; i < a.texts.size(); ++i)
    if (a.texts[i] != b.texts[i])
      return "control text " + std::to_string(i) + ": \"" + a.texts[i] + "\"";
  for (std::size_t i = 0; i < a.checks.size(); ++i)
    if (a.checks[i] != b.checks[i]) return "check state " + std::to_string(i);
  return "the scalars";
}

#define EXPECT_SAME_STATE(before, after) \
  EXPECT_TRUE((before) == (after)) << ::files_test::first_difference(before, after) << " differs"

inline ProgramState program_state() {
  const app::Workspace& w = app::workspace();
  ProgramState s;
  for (int i = 0; i <= 2000; ++i) s.x.push_back(w.XDATA.at(i));
  for (int i = 0; i <= 1000; ++i) s.y.push_back(w.YDATA.at(i));
  if (const app::LongSpectrum* long_points = w.long_spectrum.get()) {
    s.long_x = long_points->x;
    s.long_y = long_points->y;
  }
  s.lastpoint = w.LASTPOINT;
  s.xmin = w.XMIN, s.xmax = w.XMAX, s.ymin = w.YMIN, s.ymax = w.YMAX;
  s.dataxmin = w.DATAXMIN, s.dataxmax = w.DATAXMAX, s.dataymin = w.DATAYMIN,
  s.dataymax = w.DATAYMAX;
  s.filepath = w.FILEPATH;
  for (rt::Form* form : rt::live_forms())
    for (const auto& c : form->controls()) {
      s.texts.push_back(c->text());
      s.checks.push_back(c->check_state());
    }
  return s;
}

// The dialog a command showed: its kind and owner, title, initial name in the current folder,
// the descriptions of its filters, and option 0 (an existing file to open, a confirmed
// replacement when saving).
inline void expect_dialog(const rt::FileDialogRequest& d, bool save, rt::ObjRef owner,
                          const std::string& title, const std::string& initial_name,
                          const std::vector<std::string>& filters) {
  EXPECT_EQ(d.save, save);
  EXPECT_EQ(d.owner, owner);
  EXPECT_EQ(d.title, title);
  EXPECT_EQ(d.initial_name, initial_name);
  EXPECT_EQ(d.folder, std::filesystem::current_path().string());
  EXPECT_TRUE(save ? d.confirm_replace : d.must_exist);
  std::vector<std::string> descriptions;
  for (const rt::FileFilter& f : d.filters) descriptions.push_back(f.description);
  EXPECT_EQ(descriptions, filters);
}

// Writes beyond `bytes` fail with EFBIG for as long as the object lives.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    ::getrlimit(RLIMIT_FSIZE, &saved_);
    previous_ = ::signal(SIGXFSZ, SIG_IGN);
    rlimit limit = saved_;
    limit.rlim_cur = bytes;
    ::setrlimit(RLIMIT_FSIZE, &limit);
  }
  ~FileSizeLimit() {
    ::setrlimit(RLIMIT_FSIZE, &saved_);
    ::signal(SIGXFSZ, previous_);
  }

 private:
  rlimit saved_{};
  void (*previous_)(int) = nullptr;
};

class FilesTest : public testing_support::ProgramTest {
 protected:
  FilesTest() : ProgramTest(&platform_) {}
  void SetUp() override {
    ProgramTest::SetUp();
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string name = std::string(info->test_suite_name()) + "-" + info->name();
    for (char& c : name)
      if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
    dir_ = std::filesystem::temp_directory_path() /
           ("tessaly-app-files-" + std::to_string(::getpid()) + "-" + name);
    std::filesystem::remove_all(dir_);
    std::filesystem::create_directories(dir_);
    ::setenv("XDG_CONFIG_HOME", (dir_ / ".config").c_str(), 1);
  }
  void TearDown() override {
    ProgramTest::TearDown();
    std::filesystem::remove_all(dir_);
    EXPECT_TRUE(platform_.files.empty()) << "answers left over";
    EXPECT_TRUE(platform_.questions.empty()) << "answers left over";
  }

  std::string path(const std::string& name) const { return (dir_ / name).string(); }
  void write_bytes(const std::string& name, const std::string& bytes) const {
    std::ofstream(path(name), std::ios::binary)
        .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  }
  std::string read_bytes(const std::string& name) const {
    std::ifstream in(path(name), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
  }
  // The names in the test's folder, sorted (the error log's folder left out).
  std::vector<std::string> folder_names() const {
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(dir_))
      if (e.path().filename() != ".config") names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }

  void answer_file(const std::string& full_path) { platform_.files.push_back(full_path); }
  void answer_cancel() { platform_.files.push_back(std::nullopt); }
  void answer(int button) { platform_.questions.push_back(button); }

  // Runs a command as its event would, returning the run-time error it raised (0 for none).
  template <class Procedure>
  int run(Procedure procedure) {
    return error_of([&] { procedure(); });
  }

  ScriptedPlatform platform_;
  std::filesystem::path dir_;
};

}  // namespace files_test
