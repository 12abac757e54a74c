#include "platform/batch/spectrum_run.h"

#include <algorithm>
#include <charconv>
#include <filesystem>
#include <iostream>

#include "app/shell/analysis_setup.h"
#include "app/shell/program_view.h"
#include "app/shell/session.h"
#include "app/shell/user_steps.h"
#include "forms/named_controls.h"
#include "platform/actions/script_error.h"
#include "platform/actions/user_action.h"
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
    app::keep_no_undo_history();
    session_.start();
    rt::run_pending_events();
  }

 private:
  app::Session session_;
};

// The user's steps, named by the forms' own constants.
using actions::ActionKind;
using actions::UserAction;

std::string name_of(forms::ControlName c) { return actions::qualified_name(c.form, c.control); }
UserAction click(forms::ControlName c) {
  return actions::make_action(ActionKind::Click, name_of(c));
}
UserAction type_into(forms::ControlName c, const std::string& text) {
  return actions::make_action(ActionKind::Set, name_of(c), text);
}
UserAction set_check(forms::ControlName c, int state) {
  UserAction a = actions::make_action(ActionKind::Check, name_of(c));
  a.state = state;
  return a;
}
UserAction choose(const char* menu_item) {
  return actions::make_action(ActionKind::Menu, menu_item);
}
UserAction answer_file(const std::string& path) {
  return actions::make_action(ActionKind::AnswerFile, {}, path);
}

// Performs the user's actions and notes the first failure: a run-time error raised by the
// procedure an action ran, or a step the program could not take.
class Steps {
 public:
  Steps(headless::HeadlessPlatform& platform, SpectrumSummary& summary)
      : driver_(platform, null_, null_), summary_(summary) {
    if (rt::reported_error_count() > 0) fail_with_last_error();
  }

  bool ok() const { return summary_.ok; }

  Steps& operator()(const UserAction& action) {
    if (!summary_.ok) return *this;
    const int before = rt::reported_error_count();
    try {
      driver_.perform(action);
    } catch (const actions::ScriptError& e) {
      fail(std::string("the batch could not take the step \"") + actions::format_action(action) +
           "\": " + e.what());
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

// What the peak table shows: an absent slot's line is empty, whatever its other fields hold.
void read_table(const app::ProgramView& view, SpectrumSummary& s, int slots) {
  s.peaks.resize(static_cast<std::size_t>(slots));
  for (std::size_t i = 0; i < s.peaks.size(); ++i) {
    const app::PeakRowView& row = view.rows[i];
    if (!row.present()) continue;
    s.peaks[i] = {row.centre, row.width, row.height, row.share};
  }
  s.total = view.total;
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
    : options_(options),
      text_renderer_(text_renderer),
      analysis_(app::is_analysis_file(options.settings)) {}

std::optional<std::string> SpectrumRunner::check_settings_and_features() const {
  headless::HeadlessPlatform platform(std::cerr);
  FreshProgram program(platform, text_renderer_);
  if (options_.raw &&
      !(rt::find_form_definition(forms::kRawOpenButton.form) && rt::procedure_exists("OPENRAW_ON")))
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
    step.call([&] { app::apply_analysis_file_setup(options_.settings); });
    if (!summary.ok)
      return "cannot load the analysis file " + options_.settings + ": " + summary.error;
  } else {
    step(answer_file(options_.settings))(click(forms::kLoadButton));
    if (!summary.ok)
      return "cannot load the settings file " + options_.settings + ": " + summary.error;
  }
  // Every spectrum's line has the columns of the components the set-up holds.
  slots_ = app::view_program(app::ViewExtent::Fields).slots;
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
      const app::AnalysisSetup setup = app::apply_analysis_file_setup(options_.settings);
      raw = raw || setup.raw;
      if (!weight_counts) weight_counts = setup.weight_counts;
    });
  } else {
    step(answer_file(options_.settings))(click(forms::kLoadButton));
  }
  if (raw) {
    step(choose(forms::kOpenRawItem));
    if (options_.window_from) step(type_into(forms::kRawWindowFrom, *options_.window_from));
    if (options_.window_to) step(type_into(forms::kRawWindowTo, *options_.window_to));
    if (options_.ends) step(type_into(forms::kRawEndPoints, *options_.ends));
    if (options_.linear) step(set_check(forms::kRawShirleyBox, 0));
    for (const UserAction& action : background_steps(options_.background)) step(action);
    step(answer_file(spectrum))(click(forms::kRawOpenButton));
  } else {
    step(answer_file(spectrum))(click(forms::kOpenButton));
  }
  // The check item toggles: chosen only when it does not show the wanted state already.
  if (weight_counts && rt::procedure_exists("WEIGHTCOUNTS_ON") &&
      rt::menu_checked(forms::kWeightCountsItem) != *weight_counts)
    step(choose(forms::kWeightCountsItem));
  for (int n = 0; n < options_.presses; ++n) step(click(forms::kFittingButton));
  if (options_.refine) step(choose(forms::kRefineItem));
  if (options_.csv)
    step(answer_file(out_path(options_, spectrum, ".csv")))(click(forms::kExportTextButton));
  if (options_.bmp)
    step(answer_file(out_path(options_, spectrum, ".bmp")))(click(forms::kExportImageButton));
  if (options_.report)
    step(answer_file(out_path(options_, spectrum, ".report.csv")))(choose(forms::kSaveReportItem));
  if (!options_.figure_dir.empty())
    step(answer_file(
        (std::filesystem::path(options_.figure_dir) / (output_stem(spectrum) + ".svg")).string()))(
        choose(forms::kSaveFigureItem));

  const app::ProgramView view = app::view_program(app::ViewExtent::WithFigure);
  if (view.points) summary.points = rt::decimal_text(*view.points);
  if (summary.ok) {
    read_table(view, summary, slots_);
    summary.figure = view.figure ? shortest_text(*view.figure) : std::string();
  }
  return summary;
}

}  // namespace batch
