#pragma once
// Puts the run-time and the program back to their state before start, so that each test
// starts the program (or builds its own forms) afresh.

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

namespace testing_support {

// For tests that build their own forms: a session begun and ended at once leaves every global
// as before start. The windows go without a platform, as the test's platform may be gone.
inline void reset_everything() {
  rt::set_platform(nullptr);
  app::Session cleared;
}

// Each test runs the program in a session of its own, started as the platforms start it.
class ProgramTest : public ::testing::Test {
 protected:
  void SetUp() override {
    session_.emplace();
    session_->start();
    rt::run_pending_events();
  }
  void TearDown() override {
    rt::set_platform(nullptr);
    session_.reset();
  }

 private:
  std::optional<app::Session> session_;
};

}  // namespace testing_support
