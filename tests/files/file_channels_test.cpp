// File channels against the real file system: modes, exact bytes written, numbers and modes
// refused, the system's errors with their log entry, and the path a channel keeps.

#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cerrno>
#include <functional>
#include <optional>

#include "files_test_support.h"
#include "runtime/errors/error_log.h"
#include "runtime/files/os_errors.h"

namespace {

using rt::OpenMode;

class FileChannels : public files_test::TempDirTest {
 protected:
  std::string api_error() { return rt::error_log_read()["APIERR"]; }
};

// Restores a resource limit when the test ends, whatever happens in between.
class LimitGuard {
 public:
  LimitGuard(int resource, rlim_t soft) : resource_(resource) {
    ::getrlimit(resource_, &saved_);
    rlimit lowered = saved_;
    lowered.rlim_cur = soft;
    ::setrlimit(resource_, &lowered);
  }
  ~LimitGuard() { ::setrlimit(resource_, &saved_); }

 private:
  int resource_;
  rlimit saved_{};
};

TEST_F(FileChannels, OpenModes) {
  struct Row {
    const char* name;
    std::optional<std::string_view> before;  // nullopt: no such file
    OpenMode mode;
    std::vector<std::string_view> lines;
    int error;
    std::string_view after;
  } rows[] = {
      {"output empties an existing file", "old data\r\n", OpenMode::Output, {}, 0, ""},
      {"output writes bytes and CR LF", "old", OpenMode::Output, {"x,1.5", ""}, 0, "x,1.5\r\n\r\n"},
      {"output creates", std::nullopt, OpenMode::Output, {"a"}, 0, "a\r\n"},
      {"new-only refuses an existing file", "keep", OpenMode::OutputNew, {}, 64, "keep"},
      {"new-only creates", std::nullopt, OpenMode::OutputNew, {"a"}, 0, "a\r\n"},
      {"append", "a\r\n", OpenMode::Append, {"b"}, 0, "a\r\nb\r\n"},
      {"append writes over a final Ctrl-Z", "a\r\n\x1A", OpenMode::Append, {"b"}, 0, "a\r\nb\r\n"},
      {"append alone leaves the Ctrl-Z", "a\r\n\x1A", OpenMode::Append, {}, 0, "a\r\n\x1A"},
      {"append creates", std::nullopt, OpenMode::Append, {"b"}, 0, "b\r\n"},
      {"input needs the file", std::nullopt, OpenMode::Input, {}, 63, ""},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.name);
    std::filesystem::remove(path("f.txt"));
    if (r.before) write_bytes("f.txt", *r.before);
    EXPECT_EQ(error_of([&] {
                rt::open_file(path("f.txt"), r.mode, 1);
                for (auto line : r.lines) rt::write_line(1, line);
                rt::close_file(1);
              }),
              r.error);
    EXPECT_EQ(read_bytes("f.txt"), r.after);
    EXPECT_TRUE(rt::open_file_numbers().empty());
  }
}

TEST_F(FileChannels, AppendChannelReadsAtTheEnd) {
  write_bytes("f.txt", "1,2\r\n\x1A");
  rt::open_file(path("f.txt"), OpenMode::Append, 1);
  EXPECT_TRUE(rt::end_of_file(1));
  EXPECT_EQ(error_of([] { rt::read_number_field(1); }), 54);
  rt::write_line(1, "3");
  EXPECT_TRUE(rt::end_of_file(1));
  EXPECT_EQ(error_of([] { rt::read_text_field(1); }), 54);
}

TEST_F(FileChannels, NumbersAndModesRefused) {
  write_bytes("in.txt", "1\r\n");
  rt::open_file(path("in.txt"), OpenMode::Input, 1);
  rt::open_file(path("out.txt"), OpenMode::Output, 2);
  struct Row {
    const char* name;
    std::function<void()> op;
    int error;
  } rows[] = {
      {"open number 0", [&] { rt::open_file(path("x"), OpenMode::Output, 0); }, 50},
      {"open number 256", [&] { rt::open_file(path("x"), OpenMode::Output, 256); }, 50},
      {"open number -1", [&] { rt::open_file(path("x"), OpenMode::Output, -1); }, 50},
      {"open a number already open", [&] { rt::open_file(path("x"), OpenMode::Output, 1); }, 52},
      {"read a number not open", [] { rt::read_number_field(7); }, 50},
      {"write a number not open", [] { rt::write_line(7, "a"); }, 50},
      {"end of file above 255", [] { rt::end_of_file(300); }, 50},
      {"read text from output", [] { rt::read_text_field(2); }, 51},
      {"read number from output", [] { rt::read_number_field(2); }, 51},
      {"end of file on output", [] { rt::end_of_file(2); }, 51},
      {"write to input", [] { rt::write_line(1, "a"); }, 51},
      {"close a number not open", [] { rt::close_file(9); }, 0},
      {"close number 0", [] { rt::close_file(0); }, 50},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.name);
    EXPECT_EQ(error_of(r.op), r.error);
  }
  EXPECT_EQ(rt::open_file_numbers(), (std::vector<int>{1, 2}));
  EXPECT_EQ(rt::read_number_field(1), 1);  // the refusals left the channels as they were
  EXPECT_FALSE(std::filesystem::exists(path("x")));
}

TEST_F(FileChannels, SystemErrorsAreTranslatedAndLogged) {
  write_bytes("file.txt", "x");
  std::filesystem::create_directory(path("dir"));
  std::filesystem::create_symlink(path("loop"), path("loop"));
  struct Row {
    const char* name;
    std::string file;
    OpenMode mode;
    int error;
    int os_error;
  } rows[] = {
      {"missing file", path("missing.txt"), OpenMode::Input, 63, ENOENT},
      {"missing folder", path("nodir/a.txt"), OpenMode::Output, 63, ENOENT},
      {"a file taken for a folder", path("file.txt/a"), OpenMode::Input, 63, ENOTDIR},
      {"new-only on an existing file", path("file.txt"), OpenMode::OutputNew, 64, EEXIST},
      {"folder for input", path("dir"), OpenMode::Input, 55, EISDIR},
      {"folder for output", path("dir"), OpenMode::Output, 55, EISDIR},
      {"name too long", path(std::string(300, 'n')), OpenMode::Output, 55, ENAMETOOLONG},
      {"symbolic link loop", path("loop"), OpenMode::Input, 55, ELOOP},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.name);
    std::filesystem::remove(rt::error_log_path());
    EXPECT_EQ(error_of([&] { rt::open_file(r.file, r.mode, 1); }), r.error);
    EXPECT_EQ(api_error(), std::to_string(r.os_error));
    EXPECT_TRUE(rt::open_file_numbers().empty());
  }
}

TEST_F(FileChannels, UnsafeNamesAreRefusedBeforeTheSystemSeesThem) {
  write_bytes("a", "1");
  for (const std::string& name : {std::string(), path("a") + std::string("\0b", 2)}) {
    SCOPED_TRACE(name.size());
    EXPECT_EQ(error_of([&] { rt::open_file(name, OpenMode::Output, 1); }), 55);
  }
  EXPECT_EQ(read_bytes("a"), "1");  // "a\0b" must not have opened "a"
  EXPECT_TRUE(rt::error_log_read().empty());
}

TEST_F(FileChannels, DeniedAccessIs75) {
  if (::geteuid() == 0) GTEST_SKIP() << "root is never denied";
  write_bytes("ro.txt", "x");
  std::filesystem::permissions(path("ro.txt"), std::filesystem::perms::owner_read);
  EXPECT_EQ(error_of([&] { rt::open_file(path("ro.txt"), OpenMode::Output, 1); }), 75);
  EXPECT_EQ(api_error(), std::to_string(EACCES));
}

TEST_F(FileChannels, FullDiskRaisesInsteadOfReportingSuccess) {
  if (!std::filesystem::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
  rt::open_file("/dev/full", OpenMode::Output, 1);
  EXPECT_EQ(error_of([] { rt::write_line(1, "lost"); }), 67);
  EXPECT_EQ(api_error(), std::to_string(ENOSPC));
}

// A file size limit stops the write half-way: the error is raised and the bytes that made it
// stay in the file.
TEST_F(FileChannels, WriteFailingHalfWayKeepsWhatWasWritten) {
  auto* old_handler = ::signal(SIGXFSZ, SIG_IGN);
  {
    rt::open_file(path("big.txt"), OpenMode::Output, 1);
    LimitGuard limit(RLIMIT_FSIZE, 4096);
    EXPECT_EQ(error_of([] { rt::write_line(1, std::string(10000, 'x')); }), 67);
  }
  ::signal(SIGXFSZ, old_handler);
  EXPECT_EQ(api_error(), std::to_string(EFBIG));
  EXPECT_EQ(read_bytes("big.txt"), std::string(4096, 'x'));
}

TEST_F(FileChannels, NoFreeDescriptorIs66) {
#ifdef __SANITIZE_ADDRESS__
  // The sanitizers' own run-time needs descriptors to check and report; starving the process of
  // them tests the sanitizers, not the channels.
  GTEST_SKIP() << "not under the sanitizers";
#endif
  write_bytes("f.txt", "");
  LimitGuard limit(RLIMIT_NOFILE, 32);
  int opened = 0;
  int error = 0;
  for (int n = 1; n <= rt::kMaxFileNumber && error == 0; ++n) {
    error = error_of([&] { rt::open_file(path("f.txt"), OpenMode::Input, n); });
    if (error == 0) ++opened;
  }
  // No "APIERR" check: with no descriptor left the log cannot be opened either.
  EXPECT_EQ(error, 66);
  EXPECT_GT(opened, 0);
  EXPECT_LT(opened, 32);
  rt::close_all_files();
  EXPECT_TRUE(rt::open_file_numbers().empty());
}

TEST_F(FileChannels, FullPathIsAbsoluteAndNamesKeepWildcards) {
  struct CwdGuard {
    std::filesystem::path saved = std::filesystem::current_path();
    ~CwdGuard() { std::filesystem::current_path(saved); }
  } cwd;
  std::filesystem::current_path(dir_);
  rt::open_file("rel.txt", OpenMode::Output, 3);
  rt::open_file("a?b*.txt", OpenMode::Output, 4);
  rt::open_file(path("abs.txt"), OpenMode::Output, 5);
  EXPECT_EQ(rt::file_full_path(3), path("rel.txt"));
  EXPECT_EQ(rt::file_full_path(4), path("a?b*.txt"));
  EXPECT_EQ(rt::file_full_path(5), path("abs.txt"));
  EXPECT_EQ(error_of([] { rt::file_full_path(6); }), 50);
  EXPECT_TRUE(std::filesystem::exists(path("a?b*.txt")));
}

TEST_F(FileChannels, CloseOneOrAll) {
  for (int n : {200, 1, 2}) rt::open_file(path("f" + std::to_string(n)), OpenMode::Output, n);
  EXPECT_EQ(rt::open_file_numbers(), (std::vector<int>{1, 2, 200}));
  rt::close_file(2);
  rt::close_file(2);
  EXPECT_EQ(rt::open_file_numbers(), (std::vector<int>{1, 200}));
  rt::close_all_files();
  EXPECT_TRUE(rt::open_file_numbers().empty());
  rt::open_file(path("f1"), OpenMode::Input, 1);  // the number is free again
}

// The report must name the application line that called, not a line of the run-time.
TEST_F(FileChannels, ErrorNamesTheCallingLine) {
  unsigned line = 0;
  try {
    line = __LINE__, rt::open_file(path("missing"), OpenMode::Input, 1);
    ADD_FAILURE() << "no error";
  } catch (const rt::RuntimeError& e) {
    EXPECT_EQ(e.module(), "MAIN.BAS");
    EXPECT_EQ(e.source(), "tests/files/file_channels_test.cpp:" + std::to_string(line));
    EXPECT_EQ(e.line(), line);
    EXPECT_EQ(e.location() & 0xFF, static_cast<unsigned>(rt::FileCheck::OsError));
  }
}

// Several buffer refills, with the three columns written by write_line and read back the way
// the spectrum loader reads them.
TEST_F(FileChannels, FileLargerThanTheBufferReadsBackWhole) {
  constexpr int kLines = 30000;
  rt::open_file(path("big.txt"), OpenMode::Output, 1);
  for (int i = 0; i < kLines; ++i)
    rt::write_line(1, std::to_string(i) + "," + std::to_string(i) + ".5,-" + std::to_string(i));
  rt::close_file(1);
  ASSERT_GT(std::filesystem::file_size(path("big.txt")), 4 * 64 * 1024u);

  rt::open_file(path("big.txt"), OpenMode::Input, 1);
  int i = 0;
  while (!rt::end_of_file(1)) {
    ASSERT_EQ(rt::read_number_field(1), i);
    ASSERT_EQ(rt::read_text_field(1), std::to_string(i) + ".5");
    ASSERT_EQ(rt::read_number_field(1), -i);
    ++i;
  }
  EXPECT_EQ(i, kLines);
}

// The conditions whose number depends on the call, and the fallback; the common ones are met
// through real system calls above.
TEST(OsErrorTable, JudgementCases) {
  using rt::OsCall;
  struct Row {
    int os_error;
    OsCall call;
    int error;
  } rows[] = {
      {EIO, OsCall::Read, 54},    {EIO, OsCall::Write, 67},   {EIO, OsCall::Close, 67},
      {EPIPE, OsCall::Write, 67}, {EAGAIN, OsCall::Open, 75}, {EOVERFLOW, OsCall::Read, 61},
      {EROFS, OsCall::Open, 73},  {ECHILD, OsCall::Open, 27},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.os_error);
    EXPECT_EQ(rt::error_number_for_os_error(r.os_error, r.call), r.error);
  }
}

}  // namespace

namespace {

// A file held in memory reads as its bytes under its name alone, with nothing on disk; the
// channel keeps its own copy; writing to that name goes to the file system as ever.
TEST_F(FileChannels, AMemoryFileReadsAsItsBytesAndOnlyForInput) {
  const std::string name = path("held.bgd");
  rt::hold_memory_file(name, std::string("1,2\r\n\0x", 7));
  rt::open_file(name, OpenMode::Input, 1);
  EXPECT_EQ(rt::file_full_path(1), name);
  rt::hold_memory_file(name, "other");  // the open channel reads on from its own copy
  EXPECT_EQ(rt::read_number_field(1), 1);
  EXPECT_EQ(rt::read_text_field(1), "2");
  EXPECT_EQ(rt::read_text_field(1), "x");
  EXPECT_TRUE(rt::end_of_file(1));
  rt::close_file(1);
  EXPECT_FALSE(std::filesystem::exists(name));

  rt::open_file(name, OpenMode::Input, 1);
  EXPECT_EQ(rt::read_text_field(1), "other");
  rt::close_file(1);

  rt::open_file(name, OpenMode::Output, 2);
  rt::write_line(2, "on disk");
  rt::close_file(2);
  EXPECT_EQ(read_bytes("held.bgd"), "on disk\r\n");
  EXPECT_EQ(error_of([&] { rt::open_file(path("not-held.bgd"), OpenMode::Input, 1); }), 63);
}

}  // namespace
