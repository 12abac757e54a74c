#pragma once
// A fresh folder per test, which also holds the error log, so that a test sees only the
// "APIERR" its own failure wrote.

#include <gtest/gtest.h>
#include <unistd.h>

#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>

#include "../support/run_time_errors.h"
#include "runtime/errors/runtime_error.h"
#include "runtime/files/file_channels.h"

namespace files_test {

class TempDirTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string name = std::string(info->test_suite_name()) + "-" + info->name();
    for (char& c : name)
      if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
    dir_ = std::filesystem::temp_directory_path() /
           ("tessaly-files-" + std::to_string(::getpid()) + "-" + name);
    std::filesystem::remove_all(dir_);
    std::filesystem::create_directories(dir_);
    ::setenv("XDG_CONFIG_HOME", (dir_ / "config").c_str(), 1);
  }
  void TearDown() override {
    try {
      rt::close_all_files();
    } catch (const rt::RuntimeError&) {
    }
    std::filesystem::remove_all(dir_);
  }

  std::string path(std::string_view name) const { return (dir_ / name).string(); }
  void write_bytes(std::string_view name, std::string_view bytes) const {
    std::ofstream(path(name), std::ios::binary).write(bytes.data(), bytes.size());
  }
  std::string read_bytes(std::string_view name) const {
    std::ifstream in(path(name), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
  }

  std::filesystem::path dir_;
};

}  // namespace files_test
