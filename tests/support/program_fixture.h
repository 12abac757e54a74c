#pragma once
// Puts the run-time and the program back to their state before start, so that each test
// starts the program (or builds its own forms) afresh.

#include <gtest/gtest.h>

#include "app/shell/program.h"
#include "app/workspace/control_refs.h"
#include "app/workspace/workspace.h"
#include "runtime/errors/error_report.h"
#include "runtime/files/file_channels.h"
#include "runtime/forms/events.h"
#include "runtime/forms/objects.h"
#include "runtime/forms/platform.h"

namespace testing_support {

inline void reset_everything() {
  rt::set_platform(nullptr);
  rt::set_report_sink(nullptr);
  rt::reset_objects();
  rt::reset_events();
  rt::close_all_files();
  rt::reset_reported_error_count();
  app::workspace() = app::Workspace{};
  app::controls() = app::ControlRefs{};
}

class ProgramTest : public ::testing::Test {
 protected:
  void SetUp() override {
    reset_everything();
    app::start_program();
    rt::run_pending_events();
  }
  void TearDown() override { reset_everything(); }
};

}  // namespace testing_support
