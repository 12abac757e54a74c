// What a script prints reaches its reader line by line, while the program still runs: a
// program that is killed later has not lost it.

#include <gtest/gtest.h>

#include <filesystem>

#include "child_process.h"

namespace {

TEST(ScriptOutput, EachLineIsWrittenWhenItIsPrinted) {
  const std::string folder = ::testing::TempDir();
  process_test::Child child(TESSALY_PROGRAM, {"--run", "-"}, folder);
  child.write_input("print MAINFORM\nprint FORM4\n");
  bool timed_out = false;
  EXPECT_EQ(child.read_output_line(30, timed_out), "shown");
  EXPECT_FALSE(timed_out);
  EXPECT_EQ(child.read_output_line(30, timed_out), "hidden");
  EXPECT_FALSE(timed_out);
  child.write_input("close MAINFORM\n");
  EXPECT_EQ(child.wait(), 0) << child.errors();
}

}  // namespace
