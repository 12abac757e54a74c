#pragma once
// Runs `action` and checks that it raises run-time error `number`.

#include <gtest/gtest.h>

#include "runtime/errors/runtime_error.h"

template <class Action>
void expect_error(int number, Action&& action) {
  try {
    action();
    ADD_FAILURE() << "no error raised, expected error " << number;
  } catch (const rt::RuntimeError& e) {
    EXPECT_EQ(e.number(), number) << e.what();
  }
}
