#pragma once
// Each test starts the program (or builds its own forms) in a program of its own.

#include <gtest/gtest.h>

#include <optional>

#include "app/shell/session.h"
#include "app/workspace/control_refs.h"
#include "app/workspace/workspace.h"
#include "runtime/errors/error_report.h"
#include "runtime/files/file_channels.h"
#include "runtime/forms/events.h"
#include "runtime/forms/objects.h"
#include "runtime/forms/platform.h"
#include "tests/support/default_program.h"

namespace testing_support {

// For tests that build their own forms: the thread's program begins afresh, shown on
// `platform` (null: none). A test that gives a platform renews it again before the platform
// goes, so that the windows go while it can still be told.
inline void reset_everything(rt::Platform* platform = nullptr) { renew_default_program(platform); }

// Each test runs the program in a session of its own, started as the platforms start it, on
// the platform the fixture gives (null: none).
class ProgramTest : public ::testing::Test {
 protected:
  explicit ProgramTest(rt::Platform* platform = nullptr) : platform_(platform) {}

  void SetUp() override { start_session(platform_); }
  void TearDown() override { session_.reset(); }

  // Ends the test's session and starts another, shown on `platform`.
  void start_session(rt::Platform* platform) {
    session_.reset();
    session_.emplace(platform);
    session_->start();
    rt::run_pending_events();
  }

 private:
  rt::Platform* platform_;
  std::optional<app::Session> session_;
};

}  // namespace testing_support
