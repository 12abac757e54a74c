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
#include <functional>
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

// A folder that takes no new files (it and the files are another user's, the target open to
// all) cannot take the save's temporary file: the export is staged elsewhere, and a write that
// fails there leaves the old file whole and says so; without the limit the export lands.
TEST(FileSizeLimit, ASaveInAFolderThatTakesNoNewFilesNeverDamagesTheOldFile) {
  const fs::path base = fresh_folder("locked_folder");
  const fs::path data = base / "data", staging = base / "tmp", config = base / "config";
  for (const fs::path& folder : {data, staging, config}) fs::create_directories(folder);
  std::string spectrum, old;
  for (int i = 0; i < 300; ++i)
    spectrum += std::to_string(100 + i) + "," + std::to_string(50 + i % 7) + ",10\r\n";
  while (old.size() < 56000) old += "old line of an earlier export\r\n";
  write_file(data / "s.bgd", spectrum);
  write_file(data / "out.csv", old);
  write_file(data / "script.txt",
             "answer file s.bgd\nmenu openfile\nanswer file out.csv\nmenu saveastext\n");
  fs::permissions(base, fs::perms::all & ~fs::perms::group_write & ~fs::perms::others_write);
  fs::permissions(data / "out.csv", fs::perms::all & ~fs::perms::owner_exec &
                                        ~fs::perms::group_exec & ~fs::perms::others_exec);
  fs::permissions(staging, fs::perms::all);
  fs::permissions(config, fs::perms::all);
  fs::permissions(data, fs::perms::owner_read | fs::perms::owner_exec | fs::perms::group_read |
                            fs::perms::group_exec | fs::perms::others_read |
                            fs::perms::others_exec);
  // Qt keeps a run-time folder of its own in the temporary folder; the save leaves nothing.
  const auto nothing_staged = [&] {
    for (const auto& entry : fs::directory_iterator(staging))
      if (entry.path().filename().string().rfind(".tessaly-", 0) == 0) return false;
    return true;
  };
  const auto run = [&](rlim_t file_size) {
    process_test::Child child(TESSALY_PROGRAM, {"--run", "script.txt"}, data.string(), [&] {
      // Folder permissions do not bind root: the program runs as nobody then.
      if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0)) ::_exit(99);
      const rlimit limit{file_size, file_size};
      ::setrlimit(RLIMIT_FSIZE, &limit);
      ::setenv("XDG_CONFIG_HOME", config.c_str(), 1);
      ::setenv("TMPDIR", staging.c_str(), 1);
    });
    const int status = child.wait();
    return std::make_pair(status, child.errors());
  };
  const auto [status, errors] = run(8192);
  EXPECT_EQ(status, 1) << errors;
  EXPECT_NE(errors.find("エラー[67]"), std::string::npos) << errors;
  EXPECT_NE(errors.find("The old file is intact."), std::string::npos) << errors;
  EXPECT_EQ(read_file(data / "out.csv"), old);
  EXPECT_TRUE(nothing_staged());

  const auto [saved, saved_errors] = run(RLIM_INFINITY);
  EXPECT_EQ(saved, 0) << saved_errors;
  const std::string fresh = read_file(data / "out.csv");
  EXPECT_GT(fresh.size(), 8192u);
  EXPECT_EQ(fresh.find("old line"), std::string::npos);
  EXPECT_TRUE(nothing_staged());
  fs::permissions(data, fs::perms::owner_all);
}

// Start-up under an address-space limit just around what it needs: whatever part of the start
// the memory runs out in (the libraries' own start, Qt's platform, the windows, the menu), the
// program either runs whole or ends with a message and status 1, never by a signal and never
// half started.
struct StartResult {
  int status;
  std::string output, errors;
};

StartResult start_within(const fs::path& folder, const std::vector<std::string>& arguments,
                         rlim_t kilobytes) {
  const std::string config = (folder / ".config").string();
  process_test::Child child(TESSALY_PROGRAM, arguments, folder.string(), [&] {
    const rlimit limit{kilobytes << 10, kilobytes << 10};
    if (kilobytes != 0) ::setrlimit(RLIMIT_AS, &limit);
    ::setenv("XDG_CONFIG_HOME", config.c_str(), 1);
  });
  const int status = child.wait();
  return {status, child.output(), child.errors()};
}

// The lowest limit (to 256 kB) at which `works` holds, between `low` (fails) and `high` (holds).
rlim_t lowest_limit(rlim_t low, rlim_t high, const std::function<bool(rlim_t)>& works) {
  while (high - low > 256) {
    const rlim_t middle = (low + high) / 2;
    (works(middle) ? high : low) = middle;
  }
  return high;
}

TEST(MemoryLimit, AStartWithoutEnoughMemoryEndsWithAMessageNeverASignal) {
#if defined(__SANITIZE_ADDRESS__)
  GTEST_SKIP() << "the address sanitizer reserves more address space than any limit allows";
#endif
  const fs::path folder = fresh_folder("start_limit");
  write_file(folder / "script.txt", "print MAINFORM\nmenu about\nprint FORM4\n");
  const std::vector<std::string> run = {"--run", "script.txt"};
  const StartResult whole = start_within(folder, run, 0);
  ASSERT_EQ(whole.status, 0) << whole.errors;
  ASSERT_EQ(whole.output, "shown\nshown\n");
  // Below what the system's loader needs to map the libraries nothing of the program runs;
  // from there up to a whole start, every limit is the program's to meet.
  const rlim_t loaded = lowest_limit(16 << 10, 1 << 20, [&](rlim_t limit) {
    return start_within(folder, {"--version"}, limit).status == 0;
  });
  const rlim_t started = lowest_limit(
      loaded, 1 << 20, [&](rlim_t limit) { return start_within(folder, run, limit).status == 0; });
  int refused = 0;
  for (rlim_t limit = started > loaded + (4 << 10) ? started - (4 << 10) : loaded;
       limit <= started + 512; limit += 256) {
    SCOPED_TRACE(std::to_string(limit) + " kB");
    const StartResult r = start_within(folder, run, limit);
    EXPECT_LT(r.status, 128) << "ended by signal " << r.status - 128 << ": " << r.errors;
    if (r.status == 0) {
      EXPECT_EQ(r.output, whole.output);
    } else {
      ++refused;
      EXPECT_EQ(r.status, 1) << r.errors;
      EXPECT_FALSE(r.errors.empty());
      EXPECT_EQ(r.output.find("closed"), std::string::npos) << "ran half started";
    }
  }
  EXPECT_GT(refused, 0) << "no limit in the sweep was too tight: the sweep missed the start";
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
