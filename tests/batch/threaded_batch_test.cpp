// Spectra in threads: two programs on two threads at once give each spectrum exactly the line a
// single thread gives it, and the pool hands results back in the order of the spectra.

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <thread>
#include <vector>

#include "platform/batch/batch_options.h"
#include "platform/batch/spectrum_run.h"
#include "platform/batch/summary_line.h"
#include "platform/batch/worker_pool.h"

namespace {

namespace fs = std::filesystem;

class ThreadedBatch : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("tessaly_threads_test_" + std::to_string(::getpid()));
    fs::create_directories(dir_);
    std::string cfg =
        "0\r\n0\r\n\r\n\r\n\r\n\r\n\r\n\r\n285.5\r\n1.5\r\n1500\r\n289\r\n1.5\r\n900\r\n";
    for (int n = 0; n < 12; ++n) cfg += "\r\n";
    for (int n = 0; n < 24; ++n) cfg += "0\r\n";
    for (int n = 0; n < 6; ++n) cfg += "\r\n";
    options_.settings = write("two.cfg", cfg);
    options_.presses = 2;
  }
  void TearDown() override { fs::remove_all(dir_); }

  // Two peaks whose heights and places differ with `shift`, so that each spectrum has lines of
  // its own.
  std::string spectrum(const std::string& name, double shift) {
    std::string s;
    for (int i = 0; i <= 300; ++i) {
      const double x = 295 - 0.05 * i;
      const double y = (1700 + 300 * shift) * std::exp(-std::pow((x - 285.2 - shift) / 1.2, 2)) +
                       (1000 - 200 * shift) * std::exp(-std::pow((x - 288.9) / 1.5, 2));
      s += std::to_string(x) + "," + std::to_string(y + 150) + ",150\r\n";
    }
    return write(name, s);
  }
  std::string write(const std::string& name, const std::string& bytes) {
    const std::string path = (dir_ / name).string();
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
  }

  fs::path dir_;
  batch::BatchOptions options_;
};

TEST_F(ThreadedBatch, TwoSessionsOnTwoThreadsMatchASingleThread) {
  const std::string a = spectrum("a.bgd", 0), b = spectrum("b.bgd", 0.7);
  const batch::SpectrumRunner alone(options_, nullptr);
  const std::string line_a = batch::summary_line(alone.run(a));
  const std::string line_b = batch::summary_line(alone.run(b));
  ASSERT_NE(line_a.substr(line_a.find(',')), line_b.substr(line_b.find(',')));

  // Each thread runs its spectrum over and over while the other does the same, so that any
  // state the two shared would show as a line that differs.
  constexpr int kRounds = 25;
  std::vector<std::string> seen_a, seen_b;
  auto worker = [this](const std::string& file, std::vector<std::string>& seen) {
    const batch::SpectrumRunner runner(options_, nullptr);
    for (int n = 0; n < kRounds; ++n) seen.push_back(batch::summary_line(runner.run(file)));
  };
  std::thread first(worker, a, std::ref(seen_a)), second(worker, b, std::ref(seen_b));
  first.join();
  second.join();
  for (int n = 0; n < kRounds; ++n) {
    EXPECT_EQ(seen_a[n], line_a) << "round " << n;
    EXPECT_EQ(seen_b[n], line_b) << "round " << n;
  }
}

TEST(WorkerPool, ResultsComeInTaskOrderWhateverFinishesFirst) {
  for (const int threads : {1, 2, 5}) {
    std::vector<int> delivered;
    batch::run_in_order<int>(
        12, threads,
        [] {
          return [](std::size_t task) {
            // The early tasks take longest, so they finish last.
            std::this_thread::sleep_for(std::chrono::milliseconds(12 - task));
            return static_cast<int>(task * task);
          };
        },
        [&](int&& r) {
          delivered.push_back(r);
          return true;
        });
    ASSERT_EQ(delivered.size(), 12u) << threads << " threads";
    for (int i = 0; i < 12; ++i) EXPECT_EQ(delivered[i], i * i) << threads << " threads";
  }
}

TEST(WorkerPool, StopsTakingTasksWhenDeliveryFailsAndPassesOnAFailure) {
  std::atomic<int> begun = 0;
  int delivered = 0;
  batch::run_in_order<int>(
      1000, 2,
      [&] {
        return [&](std::size_t) {
          ++begun;
          return 0;
        };
      },
      [&](int&&) { return ++delivered < 3; });
  EXPECT_EQ(delivered, 3);
  EXPECT_LT(begun.load(), 1000);

  auto failing = [] {
    batch::run_in_order<int>(
        20, 2,
        [] {
          return [](std::size_t task) -> int {
            if (task == 7) throw std::runtime_error("task 7");
            return 0;
          };
        },
        [](int&&) { return true; });
  };
  EXPECT_THROW(failing(), std::runtime_error);
}

TEST(WorkerPool, EveryThreadMakesItsOwnRunner) {
  std::atomic<int> made = 0;
  batch::run_in_order<int>(
      40, 3,
      [&] {
        ++made;
        const std::thread::id mine = std::this_thread::get_id();
        return [mine](std::size_t) {
          EXPECT_EQ(std::this_thread::get_id(), mine);  // used where it was made
          return 0;
        };
      },
      [](int&&) { return true; });
  EXPECT_EQ(made.load(), 3);
}

}  // namespace
