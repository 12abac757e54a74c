// Limits of the system that make writes and allocations fail: the failing procedure reports a
// run-time error and the program goes on, as with any other failure.

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "../support/program_fixture.h"
#include "child_process.h"
#include "runtime/errors/error_log.h"
#include "runtime/forms/control_values.h"
#include "tests/support/quiet_platform.h"

namespace {

namespace fs = std::filesystem;

fs::path fresh_folder(const std::string& name) {
  fs::path folder = fs::path(::testing::TempDir()) / ("tessaly_process_" + name);
  fs::remove_all(folder);
  fs::create_directories(folder);
  return folder;
}

void write_file(const fs::path& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

std::string read_file(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

TEST(FileSizeLimit, ASaveBeyondItIsError67AndLeavesTheTargetAndNoTemporaryFile) {
  const fs::path folder = fresh_folder("file_size");
  std::string spectrum;
  for (int i = 0; i < 300; ++i) spectrum += std::to_string(100 + i) + ",50,10\r\n";
  write_file(folder / "s.bgd", spectrum);  // its export is about 30 kB
  write_file(folder / "out.csv", "earlier\r\n");
  write_file(folder / "script.txt",
             "answer file s.bgd\nmenu openfile\nanswer file out.csv\nmenu saveastext\n"
             "print FORM2.EDIT1\n");
  const std::string config = (folder / ".config").string();
  process_test::Child child(TESSALY_PROGRAM, {"--run", "script.txt"}, folder.string(), [&] {
    const rlimit limit{8192, 8192};
    ::setrlimit(RLIMIT_FSIZE, &limit);
    ::setenv("XDG_CONFIG_HOME", config.c_str(), 1);
  });
  EXPECT_EQ(child.wait(), 1) << child.errors();
  EXPECT_NE(child.errors().find("エラー[67]"), std::string::npos) << child.errors();
  EXPECT_EQ(child.output(), "s.bgd\n");
  EXPECT_EQ(read_file(folder / "out.csv"), "earlier\r\n");
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) names.push_back(entry.path().filename());
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{".config", "out.csv", "s.bgd", "script.txt"}));
}

// Reports what the error box would show.
struct ReportRecorder : testing_support::QuietPlatform {
  std::vector<std::string> reports;
  void show_error_report(const std::string&, const std::string& text) override {
    reports.push_back(text);
  }
};

long address_space_in_use_bytes() {
  std::ifstream status("/proc/self/status");
  for (std::string line; std::getline(status, line);)
    if (line.rfind("VmSize:", 0) == 0) return std::atol(line.c_str() + 7) * 1024;
  return 0;
}

// In a child process, since the limit stays with the process. Exit codes tell what failed.
int run_out_of_memory_in_a_procedure() {
  ReportRecorder platform;
  app::Session session(&platform);
  session.start();
  rt::run_pending_events();
  static unsigned last_statement = 0;
  rt::publish_procedure("HOG_ON", [] {
    last_statement = __LINE__ + 1;
    rt::set_text(app::EDIT(1), "before");
    std::vector<char> hog(std::size_t{1} << 34, 'x');
    rt::set_text(app::EDIT(1), hog.data() + hog.size() - 1);
  });

  const long in_use = address_space_in_use_bytes();
  if (in_use == 0) return 10;
  const rlimit limit{static_cast<rlim_t>(in_use) + (256L << 20),
                     static_cast<rlim_t>(in_use) + (256L << 20)};
  if (::setrlimit(RLIMIT_AS, &limit) != 0) return 11;

  rt::post_menu_event("hog");
  rt::run_pending_events();
  if (platform.reports.size() != 1) return 2;
  // Named at the program's last statement before the allocation, as the program's module.
  const std::string head = "MAIN.BAS [" + std::to_string(last_statement) + "行]:エラー[7]";
  if (platform.reports[0].find(head) == std::string::npos) return 3;
  if (rt::error_log_read()["CODE"] != "7") return 4;
  // The program goes on: the next command runs.
  rt::post_menu_event("about");
  rt::run_pending_events();
  const rt::Form* about = rt::find_live_form("FORM4");
  if (!about || !about->shown()) return 5;
  return platform.reports.size() == 1 ? 0 : 6;
}

TEST(MemoryLimit, AnAllocationThatFailsInAProcedureIsError7AndTheProgramGoesOn) {
#if defined(__SANITIZE_ADDRESS__)
  GTEST_SKIP() << "the address sanitizer reserves more address space than any limit allows";
#endif
  const pid_t pid = ::fork();
  ASSERT_GE(pid, 0);
  if (pid == 0) ::_exit(run_out_of_memory_in_a_procedure());
  int status = 0;
  ASSERT_EQ(::waitpid(pid, &status, 0), pid);
  ASSERT_TRUE(WIFEXITED(status)) << "ended by signal " << WTERMSIG(status);
  EXPECT_EQ(WEXITSTATUS(status), 0);
}

}  // namespace
