#pragma once
// The program a test thread uses when no session runs: tests of the run-time's services build
// their own forms in it. Every test program links it (tests/support/default_program.cpp).

#include "runtime/forms/platform.h"

namespace testing_support {

// Replaces the calling thread's default program with a fresh one, shown on `platform`.
void renew_default_program(rt::Platform* platform = nullptr);

}  // namespace testing_support
