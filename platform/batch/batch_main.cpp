#include "platform/batch/batch_main.h"

#include <unistd.h>

#include <QGuiApplication>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <memory>

#include "platform/batch/batch_options.h"
#include "platform/batch/output_names.h"
#include "platform/batch/progress.h"
#include "platform/batch/spectrum_run.h"
#include "platform/batch/stale_temporaries.h"
#include "platform/batch/summary_line.h"
#include "platform/batch/worker_pool.h"
#include "platform/headless/offscreen_qt.h"
#include "platform/text/qt_text_renderer.h"

namespace batch {
namespace {

constexpr int kAllOk = 0, kSomeFailed = 1, kUsageError = 2;

int usage_error(const std::string& message) {
  std::cerr << "tessaly batch: " << message << "\n(tessaly batch --help lists the options)\n";
  return kUsageError;
}

// What can be refused before the program starts: a settings file that cannot be read, an
// output folder that cannot be made, an output that would replace an input or another output.
std::string refusal(const BatchOptions& o) {
  if (!std::ifstream(o.settings, std::ios::binary))
    return "cannot read the settings file " + o.settings;
  if (std::string clash = output_clash(o); !clash.empty()) return clash;
  for (const std::string& dir : {o.out_dir, o.figure_dir}) {
    if (dir.empty()) continue;
    std::error_code ec;
    std::filesystem::create_directories(dir, ec);
    if (!std::filesystem::is_directory(dir, ec)) return "cannot make the output folder " + dir;
  }
  return "";
}

}  // namespace

int run_batch(int argc, char** argv, int first) {
  const ParsedCommandLine parsed =
      parse_batch_command_line(std::vector<std::string>(argv + first, argv + argc));
  if (parsed.help) {
    std::cout << batch_usage();
    return kAllOk;
  }
  if (!parsed.options) return usage_error(parsed.error);
  const BatchOptions& options = *parsed.options;
  if (std::string problem = refusal(options); !problem.empty()) return usage_error(problem);

  headless::use_offscreen_qt();
  QGuiApplication app(argc, argv);
  platform_text::QtTextRenderer text_renderer;
  const SpectrumRunner runner(options, &text_renderer);
  if (auto problem = runner.check_settings_and_features()) return usage_error(*problem);
  for (const std::string& dir : {options.out_dir, options.figure_dir})
    if (!dir.empty()) remove_stale_temporaries(dir);

  std::vector<std::size_t> chosen;
  for (std::size_t i = 0; i < options.spectra.size(); ++i)
    if (in_shard(i + 1, options.shard_index, options.shard_count)) chosen.push_back(i);

  Progress progress(std::cerr, !options.quiet && isatty(STDERR_FILENO), chosen.size());
  if (options.header) std::cout << summary_header(runner.slot_count()) << '\n';
  bool all_ok = true, written = true;
  const int jobs = options.jobs > 0 ? options.jobs : available_cores();
  // Each thread runs its spectra with a text renderer of its own: a renderer keeps caches.
  const std::function<TaskRunner<SpectrumSummary>()> make_runner =
      [&]() -> TaskRunner<SpectrumSummary> {
    if (jobs <= 1)
      return [&](std::size_t task) { return runner.run(options.spectra[chosen[task]]); };
    auto own_renderer = std::make_shared<platform_text::QtTextRenderer>();
    auto own_runner = std::make_shared<SpectrumRunner>(runner, own_renderer.get());
    return [&, own_renderer, own_runner](std::size_t task) {
      return own_runner->run(options.spectra[chosen[task]]);
    };
  };
  run_in_order<SpectrumSummary>(chosen.size(), jobs, make_runner, [&](SpectrumSummary&& summary) {
    all_ok = all_ok && summary.ok;
    // Each line is out as soon as it is known: a batch stopped by a job's time limit keeps
    // every finished line.
    std::cout << summary_line(summary) << '\n' << std::flush;
    if (!std::cout) {
      std::cerr << "tessaly batch: standard output cannot be written; stopped\n";
      written = false;
      return false;
    }
    progress.spectrum_done(summary.ok);
    return true;
  });
  if (!written) return kSomeFailed;
  progress.finish();
  return all_ok ? kAllOk : kSomeFailed;
}

}  // namespace batch
