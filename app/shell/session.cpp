#include "app/shell/session.h"

#include <new>

#include "app/model/fit_report.h"
#include "app/shell/program.h"
#include "app/workspace/control_refs.h"
#include "app/workspace/workspace.h"
#include "runtime/errors/runtime_error.h"
#include "runtime/files/file_channels.h"
#include "runtime/forms/events.h"
#include "runtime/forms/form_definition.h"
#include "runtime/forms/objects.h"

namespace app {
namespace {

// A channel that cannot be closed cleanly at the end is dropped all the same.
void close_files_quietly() {
  try {
    rt::close_all_files();
  } catch (const rt::RuntimeError&) {
  }
}

}  // namespace

void reset_program_state() {
  rt::reset_objects();
  rt::reset_events();
  close_files_quietly();
  rt::reset_reported_error_count();
  rt::install_form_definitions({}, {});
  workspace() = Workspace{};
  controls() = ControlRefs{};
  forget_fit();
}

Session::Session(rt::Platform* platform, rt::TextRenderer* text_renderer, rt::ReportSink sink) {
  reset_program_state();
  rt::set_platform(platform);
  rt::set_text_renderer(text_renderer);
  if (!sink && platform) {
    sink = [platform](const std::string& caption, const std::string& text) {
      platform->show_error_report(caption, text);
    };
  }
  rt::set_report_sink(std::move(sink));
}

Session::~Session() {
  // The windows go first, while the platform that shows them is still installed.
  reset_program_state();
  rt::set_report_sink(nullptr);
  rt::set_text_renderer(nullptr);
  rt::set_platform(nullptr);
}

void Session::start() {
  try {
    start_program();
  } catch (const rt::RuntimeError& error) {
    rt::report_error(error);
  } catch (const std::bad_alloc&) {
    rt::report_error(rt::out_of_memory_error());
  } catch (const rt::QuitRequested&) {
  }
}

}  // namespace app
