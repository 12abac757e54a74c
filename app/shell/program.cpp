#include "app/shell/program.h"

#include <iterator>

#include "app/commands/event_table.h"
#include "app/shell/startup.h"
#include "app/workspace/components.h"
#include "forms/form_library.h"
#include "runtime/errors/runtime_error.h"
#include "runtime/files/file_channels.h"
#include "runtime/forms/objects.h"

namespace app {
namespace {

// The top folders of the program's sources: an error raised in them names their line.
const char* const kSourceFolders[] = {"app", "forms", "platform", "tests", "fuzz", "bench"};

}  // namespace

Program::Program(rt::Platform* platform, rt::TextRenderer* text_renderer)
    : runtime_(platform, text_renderer) {
  runtime_.program = &app_;
  runtime_.places.program_folders.assign(std::begin(kSourceFolders), std::end(kSourceFolders));
}

Program::~Program() {
  // Its own state, on whatever thread it ends.
  rt::CurrentState current(runtime_);
  rt::reset_objects();
  try {
    rt::close_all_files();
  } catch (const rt::RuntimeError&) {
    // A channel that cannot be closed cleanly at the end is dropped all the same.
  }
}

void start_program() {
  forms::install_program_forms();
  publish_event_procedures();
  // Typing into a peak field replaces whatever value a fit kept behind its text; the
  // components' mirrored rows and constraint cells react as well.
  rt::set_user_text_observer([](rt::ObjRef field) { on_user_text(field); });
  rt::create_form("MAINFORM", true);
  STARTUP();
}

}  // namespace app
