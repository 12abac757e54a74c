#include "platform/batch/spectrum_run.h"

#include <algorithm>
#include <charconv>
#include <filesystem>
#include <fstream>
#include <iostream>

#include "app/commands/undo_history.h"
#include "app/files/analysis_file.h"
#include "app/files/analysis_json.h"
#include "app/fit/kai2.h"
#include "app/shell/session.h"
#include "app/workspace/components.h"
#include "app/workspace/control_refs.h"
#include "app/workspace/peak_table.h"
#include "app/workspace/spectrum_points.h"
#include "app/workspace/workspace.h"
#include "platform/actions/script_error.h"
#include "platform/batch/output_names.h"
#include "platform/headless/headless_platform.h"
#include "platform/headless/script_driver.h"
#include "runtime/convert/integer_text.h"
#include "runtime/errors/error_messages.h"
#include "runtime/errors/error_report.h"
#include "runtime/errors/runtime_error.h"
#include "runtime/forms/control_values.h"
#include "runtime/forms/events.h"
#include "runtime/forms/menu_checks.h"
#include "runtime/forms/objects.h"
#include "runtime/forms/platform.h"
#include "runtime/picture/text_renderer.h"

namespace batch {
namespace {

// The program as it is just after start: each spectrum gets its own, so nothing of the
// previous spectrum (its points, curves, ratios or clipboard) can reach the next one's line.
// Errors are counted and named in the summary line, not shown.
class FreshProgram {
 public:
  FreshProgram(rt::Platform& platform, rt::TextRenderer* text_renderer)
      : session_(&platform, text_renderer, [](const std::string&, const std::string&) {}) {
    app::set_undo_enabled(false);  // nothing is undone in a batch: no snapshots to pay for
    session_.start();
    rt::run_pending_events();
  }

 private:
  app::Session session_;
};

// Performs action-script lines and notes the first failure: a run-time error raised by the
// procedure a line ran, or a step the program could not take.
class Steps {
 public:
  Steps(headless::HeadlessPlatform& platform, SpectrumSummary& summary)
      : driver_(platform, null_, null_), summary_(summary) {
    if (rt::reported_error_count() > 0) fail_with_last_error();
  }

  bool ok() const { return summary_.ok; }

  Steps& operator()(const std::string& line) {
    if (!summary_.ok) return *this;
    const int before = rt::reported_error_count();
    try {
      driver_.perform(line);
    } catch (const actions::ScriptError& e) {
      fail(std::string("the batch could not take the step \"") + line + "\": " + e.what());
      return *this;
    }
    if (rt::reported_error_count() != before) fail_with_last_error();
    return *this;
  }

  // A step the program takes without a user's action.
  template <class Action>
  Steps& call(Action&& action) {
    if (!summary_.ok) return *this;
    try {
      action();
    } catch (const rt::RuntimeError& e) {
      fail(error_text(e));
    }
    return *this;
  }

 private:
  void fail_with_last_error() {
    const rt::RuntimeError* e = rt::last_reported_error();
    fail(e ? error_text(*e) : "a run-time error");
  }
  void fail(std::string error) {
    summary_.ok = false;
    summary_.error = std::move(error);
  }

  std::ostream null_{nullptr};
  headless::ScriptDriver driver_;
  SpectrumSummary& summary_;
};

std::string shortest_text(float value) {
  char buf[32];
  auto r = std::to_chars(buf, buf + sizeof buf, value);
  return std::string(buf, r.ptr);
}

// The fit figure of the curves as last drawn, that is of the values the fit reached before the
// redraw rounded the fields to one decimal; empty when no sweep would accept the Skip.
std::string final_figure() {
  try {
    const float skip = app::read_skip();
    if (!app::skip_usable(skip)) return "";
    return shortest_text(app::figure_of_curves(skip));
  } catch (const rt::RuntimeError&) {
    return "";
  }
}

void read_table(SpectrumSummary& s, int slots) {
  s.peaks.resize(static_cast<std::size_t>(slots));
  for (int k = 1; k <= slots; ++k) {
    SlotTexts& slot = s.peaks[static_cast<std::size_t>(k - 1)];
    slot.centre = rt::get_text(app::field_of(k, app::Param::Centre));
    if (slot.centre.empty()) continue;  // an absent slot shows nothing
    slot.width = rt::get_text(app::field_of(k, app::Param::Width));
    slot.height = rt::get_text(app::field_of(k, app::Param::Height));
    slot.share = rt::get_text(app::ratio_field_of(k));
  }
  s.total = rt::get_text(app::EDIT(42));
}

std::string out_path(const BatchOptions& o, const std::string& spectrum, const char* suffix) {
  return (std::filesystem::path(o.out_dir) / (output_stem(spectrum) + suffix)).string();
}

}  // namespace

std::string error_text(const rt::RuntimeError& error) {
  std::string text = rt::decimal_text(error.number());
  if (const char* message = rt::error_message(error.number())) text += std::string(" ") + message;
  if (!error.detail().empty()) text += " " + error.detail();
  return text;
}

SpectrumRunner::SpectrumRunner(const BatchOptions& options, rt::TextRenderer* text_renderer)
    : options_(options), text_renderer_(text_renderer) {
  // An analysis file is JSON; a settings file's first line is a check box's 0 or 1.
  std::ifstream in(options.settings, std::ios::binary);
  std::string start(64, '\0');
  in.read(start.data(), static_cast<std::streamsize>(start.size()));
  start.resize(static_cast<std::size_t>(in.gcount()));
  analysis_ = app::looks_like_json(start);
}

std::optional<std::string> SpectrumRunner::check_settings_and_features() const {
  headless::HeadlessPlatform platform(std::cerr);
  FreshProgram program(platform, text_renderer_);
  if (options_.raw && !(rt::find_form_definition("FORM5") && rt::procedure_exists("OPENRAW_ON")))
    return "--raw is not available in this build of the program";
  if (options_.refine && !rt::procedure_exists("REFINE_ON"))
    return "--refine is not available in this build of the program";
  if (options_.report && !rt::procedure_exists("SAVEREPORT_ON"))
    return "--report is not available in this build of the program";
  if (!options_.figure_dir.empty() && !rt::procedure_exists("SAVEFIGURE_ON"))
    return "--figure is not available in this build of the program";
  SpectrumSummary summary;
  Steps step(platform, summary);
  if (analysis_) {
    step.call([&] { app::read_analysis_file(options_.settings); });
    if (!summary.ok)
      return "cannot load the analysis file " + options_.settings + ": " + summary.error;
    return std::nullopt;
  }
  step("answer file " + options_.settings)("click FORM2.BUTTON23");
  if (!summary.ok)
    return "cannot load the settings file " + options_.settings + ": " + summary.error;
  slots_ = std::max(app::kSlots, app::component_count());
  return std::nullopt;
}

SpectrumSummary SpectrumRunner::run(const std::string& spectrum) const {
  SpectrumSummary summary;
  summary.file = spectrum;
  headless::HeadlessPlatform platform(std::cerr);
  FreshProgram program(platform, text_renderer_);
  Steps step(platform, summary);

  // An analysis brings its components, their full values and its way of loading: a raw source
  // makes every spectrum a raw load with its window's settings, and its weighting stands
  // unless --weights says otherwise.
  std::optional<bool> weight_counts = options_.weight_counts;
  bool raw = options_.raw;
  if (analysis_) {
    step.call([&] {
      const app::AnalysisDocument analysis = app::read_analysis_file(options_.settings);
      app::apply_analysis_setup(analysis);
      raw = raw || analysis.spectrum.raw;
      if (!weight_counts) weight_counts = analysis.weight_counts;
    });
  } else {
    step("answer file " + options_.settings)("click FORM2.BUTTON23");
  }
  if (raw) {
    step("menu openraw");
    if (options_.window_from) step("set FORM5.EDIT1 " + *options_.window_from);
    if (options_.window_to) step("set FORM5.EDIT2 " + *options_.window_to);
    if (options_.ends) step("set FORM5.EDIT3 " + *options_.ends);
    if (options_.linear) step("check FORM5.CHECK1 0");
    for (const std::string& line : background_steps(options_.background)) step(line);
    step("answer file " + spectrum)("click FORM5.BUTTON1");
  } else {
    step("answer file " + spectrum)("click FORM2.BUTTON3");
  }
  // The check item toggles: chosen only when it does not show the wanted state already.
  if (weight_counts && rt::procedure_exists("WEIGHTCOUNTS_ON") &&
      rt::menu_checked("weightcounts") != *weight_counts)
    step("menu weightcounts");
  for (int n = 0; n < options_.presses; ++n) step("click FORM2.BUTTON1");
  if (options_.refine) step("menu refine");
  if (options_.csv)
    step("answer file " + out_path(options_, spectrum, ".csv"))("click FORM2.BUTTON28");
  if (options_.bmp)
    step("answer file " + out_path(options_, spectrum, ".bmp"))("click FORM2.BUTTON24");
  if (options_.report)
    step("answer file " + out_path(options_, spectrum, ".report.csv"))("menu savereport");
  if (!options_.figure_dir.empty())
    step("answer file " +
         (std::filesystem::path(options_.figure_dir) / (output_stem(spectrum) + ".svg")).string())(
        "menu savefigure");

  // A load replaces the workspace all or nothing, the path included: the points are known
  // also when a later step (the load's own redraw among them) failed.
  if (!app::workspace().FILEPATH.empty()) summary.points = rt::decimal_text(app::point_count());
  if (summary.ok) {
    read_table(summary, slots_);
    summary.figure = final_figure();
  }
  return summary;
}

}  // namespace batch
