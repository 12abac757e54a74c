// The batch's cost per spectrum: a fresh program, the settings loaded, a 1001-point spectrum
// with six peaks opened, one "FITTING" press and the summary line, as `tessaly batch` does it;
// the same steps cut short after each one, to show where the time goes; the same on one and two
// threads at once (each with its own program and text renderer, as `--jobs` runs them); memory
// over 10 000 spectra; and the start-up of a whole process, counted apart.

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QGuiApplication>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/batch/batch_options.h"
#include "platform/batch/spectrum_run.h"
#include "platform/batch/summary_line.h"
#include "platform/headless/offscreen_qt.h"
#include "platform/text/qt_text_renderer.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;

constexpr int kSpectra = 16;  // the runs cycle through these, so no file stays hot alone
constexpr int kPoints = 1001;

std::string number_text(double v) {
  char buf[32];
  auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed, 2);
  return std::string(buf, r.ptr);
}

// Six overlapping peaks on a sloped background, each file a little different; the settings
// place six peaks a little off them, as the fit's own benchmark does.
struct Files {
  fs::path dir = fs::temp_directory_path() / "tessaly_batch_bench";
  std::string settings;
  std::vector<std::string> spectra;

  Files() {
    dir += std::to_string(getpid());
    fs::create_directories(dir);
    settings = (dir / "six.cfg").string();
    std::ofstream cfg(settings, std::ios::binary);
    const char* table[6][3] = {{"282.1", "1.4", "900"}, {"284.6", "1.8", "1500"},
                               {"286.9", "1.1", "700"}, {"289.2", "2.2", "1200"},
                               {"291.7", "1.6", "400"}, {"294.0", "1.3", "800"}};
    cfg << "0\r\n0\r\n\r\n\r\n\r\n\r\n\r\n\r\n";
    for (auto& row : table) cfg << row[0] << "\r\n" << row[1] << "\r\n" << row[2] << "\r\n";
    for (int n = 0; n < 30; ++n) cfg << "0\r\n";
    for (int n = 0; n < 6; ++n) cfg << "\r\n";
    const double centres[6] = {282, 284.5, 287, 289, 292, 294.2};
    const double widths[6] = {1.5, 1.7, 1.2, 2, 1.5, 1.4};
    const double heights[6] = {1000, 1400, 800, 1100, 500, 700};
    for (int f = 0; f < kSpectra; ++f) {
      fs::path name = dir / "s";
      name += std::to_string(f) + ".bgd";
      spectra.push_back(name.string());
      std::ofstream out(spectra.back(), std::ios::binary);
      for (int i = 0; i < kPoints; ++i) {
        const double x = 300 - 0.02 * i;
        const double background = 100 + 2 * (300 - x);
        double y = background + 5 * std::sin(i * 0.7 + f);
        for (int k = 0; k < 6; ++k) {
          const double d = (x - centres[k] - 0.05 * ((f * (k + 1)) % 7 - 3)) / widths[k];
          y += heights[k] * (1 + 0.03 * ((f + k) % 5 - 2)) / (1 + 1.2 * d * d) *
               std::exp(-1.94 * d * d);
        }
        out << number_text(x) << ',' << number_text(y) << ',' << number_text(background) << "\r\n";
      }
    }
  }
  ~Files() {
    std::error_code ec;
    fs::remove_all(dir, ec);
  }
};

Files& files() {
  static Files f;
  return f;
}

platform_text::QtTextRenderer& renderer() {
  static platform_text::QtTextRenderer r;
  return r;
}

void BM_BatchSpectrum(benchmark::State& state) {
  batch::BatchOptions options;
  options.settings = files().settings;
  options.presses = static_cast<int>(state.range(0));
  const batch::SpectrumRunner runner(options, &renderer());
  std::size_t n = 0, failed = 0, bytes = 0;
  for (auto _ : state) {
    const batch::SpectrumSummary s = runner.run(files().spectra[n++ % kSpectra]);
    failed += s.ok ? 0 : 1;
    bytes += batch::summary_line(s).size();
  }
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()));
  state.counters["failed"] = static_cast<double>(failed);
  benchmark::DoNotOptimize(bytes);
}

// Every thread runs spectra in programs of its own, as `--jobs N` does: items per second summed
// over the threads, against the wall clock, show how the threads scale.
void BM_BatchSpectrumThreads(benchmark::State& state) {
  files();  // made once, before the threads race for it
  batch::BatchOptions options;
  options.settings = files().settings;
  platform_text::QtTextRenderer own_renderer;
  const batch::SpectrumRunner runner(options, &own_renderer);
  std::size_t n = static_cast<std::size_t>(state.thread_index()), failed = 0;
  for (auto _ : state) failed += runner.run(files().spectra[n++ % kSpectra]).ok ? 0 : 1;
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()));
  state.counters["failed"] = static_cast<double>(failed);
}

// Resident memory now, in kB.
long resident_kb() {
  long pages = 0, resident = 0;
  std::FILE* f = std::fopen("/proc/self/statm", "r");
  if (!f) return -1;
  const int read = std::fscanf(f, "%ld %ld", &pages, &resident);
  std::fclose(f);
  return read == 2 ? resident * (sysconf(_SC_PAGESIZE) / 1024) : -1;
}

// 10 000 spectra in one process: what is resident after the first 500 (the caches warm) is what
// stays resident after all of them. Fails when it grew by more than 1 MB.
void BM_MemoryOver10000Spectra(benchmark::State& state) {
  batch::BatchOptions options;
  options.settings = files().settings;
  const batch::SpectrumRunner runner(options, &renderer());
  for (auto _ : state) {
    long warm = 0;
    for (int n = 0; n < 10000; ++n) {
      if (n == 500) warm = resident_kb();
      benchmark::DoNotOptimize(runner.run(files().spectra[n % kSpectra]).ok);
    }
    const long after = resident_kb();
    state.counters["warm_kB"] = static_cast<double>(warm);
    state.counters["after_10000_kB"] = static_cast<double>(after);
    if (after - warm > 1024) state.SkipWithError("resident memory grew by more than 1 MB");
  }
}

// A whole process: Qt's start, the settings check, one spectrum without a press.
void BM_ProcessStartup(benchmark::State& state) {
  const std::string program = TESSALY_PROGRAM;
  std::vector<std::string> words = {program, "batch",          "--quiet",         "--presses",
                                    "0",     files().settings, files().spectra[0]};
  std::vector<char*> argv;
  for (auto& w : words) argv.push_back(w.data());
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  for (auto _ : state) {
    pid_t pid = 0;
    if (posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ) != 0) {
      state.SkipWithError("cannot start the program");
      break;
    }
    int status = 0;
    waitpid(pid, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
      state.SkipWithError("the program failed");
      break;
    }
  }
  posix_spawn_file_actions_destroy(&actions);
}

}  // namespace

// Presses 0: the start, the settings, the load with its redraw and the summary only.
BENCHMARK(BM_BatchSpectrum)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BatchSpectrumThreads)
    ->Threads(1)
    ->Threads(2)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MemoryOver10000Spectra)->Iterations(1)->Unit(benchmark::kSecond);
BENCHMARK(BM_ProcessStartup)->Unit(benchmark::kMillisecond)->Iterations(20);

int main(int argc, char** argv) {
  headless::use_offscreen_qt();
  QGuiApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
