#pragma once
// Checking which run-time error an action raises.

#include <gtest/gtest.h>

#include "runtime/errors/runtime_error.h"

// The number of the run-time error that `action` raises, or 0.
template <class Action>
int error_of(Action&& action) {
  try {
    action();
  } catch (const rt::RuntimeError& e) {
    return e.number();
  }
  return 0;
}

// Runs `action` and checks that it raises run-time error `number`.
template <class Action>
void expect_error(int number, Action&& action) {
  try {
    action();
    ADD_FAILURE() << "no error raised, expected error " << number;
  } catch (const rt::RuntimeError& e) {
    EXPECT_EQ(e.number(), number) << e.what();
  }
}
