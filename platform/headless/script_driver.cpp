#include "platform/headless/script_driver.h"

#include <istream>
#include <new>
#include <ostream>

#include "app/shell/program_view.h"
#include "app/shell/user_steps.h"
#include "platform/actions/script_error.h"
#include "runtime/convert/integer_text.h"
#include "runtime/errors/error_report.h"
#include "runtime/errors/runtime_error.h"
#include "runtime/forms/control_values.h"
#include "runtime/forms/events.h"

namespace headless {
namespace {

bool blank_line(const std::string& s) { return s.find_first_not_of(" \t") == std::string::npos; }

}  // namespace

ScriptDriver::ScriptDriver(HeadlessPlatform& platform, std::ostream& out, std::ostream& err)
    : platform_(platform), out_(out), err_(err) {}

int ScriptDriver::run(std::istream& script) {
  std::string line;
  int number = 0;
  while (!ended_ && std::getline(script, line)) {
    ++number;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (blank_line(line) || line.front() == '#') continue;
    try {
      perform(line);
    } catch (const actions::ScriptError& e) {
      out_.flush();
      err_ << "tessaly: script line " << rt::decimal_text(number) << ": " << e.what() << '\n';
      return kScriptFailed;
    } catch (const rt::RuntimeError& e) {
      rt::report_error(e);  // raised by the line itself (a pixel far outside), not a procedure
    } catch (const std::bad_alloc&) {
      rt::report_error(rt::out_of_memory_error());
    } catch (const rt::QuitRequested&) {
      ended_ = true;
    }
  }
  out_.flush();
  return rt::reported_error_count() > 0 ? kRanWithErrors : kRanClean;
}

void ScriptDriver::perform(const std::string& line) { perform(actions::parse_action(line)); }

void ScriptDriver::perform(const actions::UserAction& action) {
  using actions::ActionKind;
  bool queued = false;
  if (action.kind != ActionKind::Print || !print_from_view(action.target))
    queued = actions::perform_action(action, *this);
  // A set line is typing and leaving the field; a box without a procedure changes with no
  // event: each is an undo step of its own.
  if (!queued && (action.kind == ActionKind::Set || action.kind == ActionKind::Click ||
                  action.kind == ActionKind::Check))
    app::end_user_step();
  // Each printed line reaches its reader at once: a program killed later keeps what it printed.
  out_.flush();
  rt::run_pending_events();
  if (rt::quit_requested()) ended_ = true;
}

bool ScriptDriver::print_from_view(const std::string& target) {
  const std::size_t dot = target.find('.');
  if (dot == std::string::npos) return false;
  const app::ProgramView view = app::view_program(app::ViewExtent::Fields);
  const std::string* text = app::text_shown_by(view, target.substr(0, dot), target.substr(dot + 1));
  if (!text) return false;
  write_line(*text);
  return true;
}

void ScriptDriver::queue_answer(const actions::UserAction& answer) {
  platform_.queue_answer(answer);
}

void ScriptDriver::write_line(const std::string& line) { out_ << line << '\n'; }

std::string ScriptDriver::clipboard_text() { return platform_.clipboard(); }

}  // namespace headless
