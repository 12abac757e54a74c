// Saves that replace their target only when complete: what is left behind after a commit, after
// a save abandoned part-way, and when the target cannot be written.

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "files_test_support.h"
#include "runtime/errors/error_log.h"
#include "runtime/files/replacing_save.h"

namespace {

class ReplacingSave : public files_test::TempDirTest {
 protected:
  std::vector<std::string> names() const {
    std::vector<std::string> out;
    for (const auto& e : std::filesystem::directory_iterator(dir_))
      if (e.path().filename() != "config") out.push_back(e.path().filename().string());
    std::sort(out.begin(), out.end());
    return out;
  }
  static mode_t mode_of(const std::string& p) {
    struct stat st {};
    ::stat(p.c_str(), &st);
    return st.st_mode & 07777;
  }
};

TEST_F(ReplacingSave, TheTemporaryFileReplacesTheTargetOnlyOnCommit) {
  write_bytes("t.txt", "old");
  ::chmod(path("t.txt").c_str(), 0640);
  {
    rt::ReplacingSave save(path("t.txt"));
    EXPECT_NE(save.path(), path("t.txt"));
    EXPECT_EQ(std::filesystem::path(save.path()).parent_path(), dir_);
    std::ofstream(save.path(), std::ios::binary) << "new";
    EXPECT_EQ(read_bytes("t.txt"), "old");
    save.commit();
  }
  EXPECT_EQ(read_bytes("t.txt"), "new");
  EXPECT_EQ(mode_of(path("t.txt")), 0640u);
  EXPECT_EQ(names(), std::vector<std::string>{"t.txt"});
}

TEST_F(ReplacingSave, AnAbandonedSaveLeavesTheTargetAndNoTemporary) {
  write_bytes("t.txt", "old");
  {
    rt::ReplacingSave save(path("t.txt"));
    std::ofstream(save.path(), std::ios::binary) << "half";
  }
  EXPECT_EQ(read_bytes("t.txt"), "old");
  EXPECT_EQ(names(), std::vector<std::string>{"t.txt"});
  { rt::ReplacingSave save(path("new.txt")); }
  EXPECT_EQ(names(), std::vector<std::string>{"t.txt"});
}

TEST_F(ReplacingSave, ALinkStaysALink) {
  write_bytes("real.txt", "old");
  std::filesystem::create_symlink("real.txt", dir_ / "link.txt");
  {
    rt::ReplacingSave save(path("link.txt"));
    std::ofstream(save.path(), std::ios::binary) << "new";
    save.commit();
  }
  EXPECT_TRUE(std::filesystem::is_symlink(dir_ / "link.txt"));
  EXPECT_EQ(read_bytes("real.txt"), "new");
}

TEST_F(ReplacingSave, ADeviceIsWrittenInPlace) {
  rt::ReplacingSave save("/dev/null");
  EXPECT_EQ(save.path(), "/dev/null");
  save.commit();
  EXPECT_TRUE(std::filesystem::exists("/dev/null"));
  EXPECT_FALSE(std::filesystem::is_regular_file("/dev/null"));
}

TEST_F(ReplacingSave, TargetsThatCannotBeWritten) {
  struct Row {
    const char* name;
    std::string target;
    int create_error;
    int error;
    int os_error;
  } rows[] = {
      {"missing folder", path("missing/t.txt"), 0, 63, ENOENT},
      {"a file as folder", "/dev/null/t.txt", 0, 63, ENOTDIR},
      {"a folder as target", dir_.string(), 0, 55, EISDIR},
      {"missing folder, with the caller's error", path("missing/t.bmp"), 57, 57, ENOENT},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    std::filesystem::remove(rt::error_log_path());
    expect_error(row.error, [&] { rt::ReplacingSave save(row.target, row.create_error); });
    EXPECT_EQ(rt::error_log_read()["APIERR"], std::to_string(row.os_error));
  }
  EXPECT_TRUE(names().empty());
  if (::geteuid() != 0) {
    write_bytes("ro.txt", "old");
    ::chmod(path("ro.txt").c_str(), 0444);
    expect_error(75, [&] { rt::ReplacingSave save(path("ro.txt")); });
    EXPECT_EQ(read_bytes("ro.txt"), "old");
  }
}

TEST_F(ReplacingSave, AFolderThatTakesNoNewFilesStillLetsItsFilesBeWritten) {
  if (::geteuid() == 0) GTEST_SKIP() << "folder permissions do not bind root";
  write_bytes("t.txt", "old");
  ::chmod(dir_.c_str(), 0555);
  {
    rt::ReplacingSave save(path("t.txt"));
    EXPECT_NE(std::filesystem::path(save.path()).parent_path(), dir_);
    std::ofstream(save.path(), std::ios::binary) << "new";
    EXPECT_EQ(read_bytes("t.txt"), "old");
    save.commit();
  }
  EXPECT_EQ(read_bytes("t.txt"), "new");
  expect_error(75, [&] { rt::ReplacingSave save(path("new.txt")); });
  ::chmod(dir_.c_str(), 0755);
}

}  // namespace
