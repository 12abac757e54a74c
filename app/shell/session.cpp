#include "app/shell/session.h"

#include <new>

#include "app/commands/error_hints.h"
#include "app/commands/undo_history.h"
#include "app/shell/program.h"
#include "runtime/errors/error_report.h"
#include "runtime/errors/runtime_error.h"
#include "runtime/forms/events.h"
#include "runtime/forms/form_definition.h"
#include "runtime/forms/objects.h"

namespace app {

Session::Session(rt::Platform* platform, rt::TextRenderer* text_renderer, rt::ReportSink sink)
    : program_(std::make_unique<Program>(platform, text_renderer)), current_(program_->runtime()) {
  if (!sink && platform) {
    sink = [platform](const std::string& caption, const std::string& text) {
      platform->show_error_report(caption, text);
    };
  }
  rt::set_report_sink(std::move(sink));
  rt::set_error_hint(error_hint);
}

Session::~Session() = default;

bool Session::start() {
  bool out_of_memory = false;
  try {
    start_program();
    reset_undo_history();  // the program as started is what the first undo goes back to
  } catch (const rt::RuntimeError& error) {
    out_of_memory = error.number() == rt::kOutOfMemory;
    rt::report_error(error);
  } catch (const std::bad_alloc&) {
    out_of_memory = true;
    rt::report_error(rt::out_of_memory_error());
  } catch (const rt::QuitRequested&) {
    return true;
  }
  // Whatever a start-up without memory left out (a window, a control, a menu) would show up
  // only later, as commands refused or a crash.
  return !out_of_memory && rt::form_exists(rt::main_form());
}

}  // namespace app
