#include <gtest/gtest.h>

#include <functional>

#include "runtime/convert/arithmetic.h"
#include "runtime/convert/integer_rules.h"
#include "runtime/convert/string_functions.h"
#include "runtime/convert/text_to_number.h"
#include "runtime/errors/runtime_error.h"

namespace {

// A report must name the statement that failed, not the run-time function that noticed: each
// call below stands on the line recorded next to it.
struct CallRow {
  const char* what;
  std::function<void()> call;
  unsigned line;
};

TEST(ErrorLocation, EveryRaiseNamesTheCallersLine) {
  const CallRow rows[] = {
      {"val", [] { rt::val("1D999"); }, __LINE__},
      {"scan_number", [] { rt::scan_number("-1e400"); }, __LINE__},
      {"nearest_int", [] { rt::nearest_int(1e20); }, __LINE__},
      {"store_int16", [] { rt::store_int16(40000); }, __LINE__},
      {"checked", [] { rt::checked(1.0 / 0.0); }, __LINE__},
      {"divide", [] { rt::divide(1, 0); }, __LINE__},
      {"to_single", [] { rt::to_single(1e300); }, __LINE__},
      {"power", [] { rt::power(-2, 0.5); }, __LINE__},
      {"natural_log", [] { rt::natural_log(0); }, __LINE__},
      {"exponential", [] { rt::exponential(1000); }, __LINE__},
      {"integer_divide", [] { rt::integer_divide(1, 0); }, __LINE__},
      {"integer_remainder", [] { rt::integer_remainder(1, 0); }, __LINE__},
      {"left_part", [] { rt::left_part("a", -1); }, __LINE__},
      {"right_part", [] { rt::right_part("a", -1); }, __LINE__},
      {"middle_part", [] { rt::middle_part("a", 0, 1); }, __LINE__},
      {"middle_chars", [] { rt::middle_chars("a", 1, -1); }, __LINE__},
      {"find_text", [] { rt::find_text(0, "a", "a"); }, __LINE__},
      {"character", [] { rt::character({300}); }, __LINE__},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.what);
    try {
      row.call();
      ADD_FAILURE() << "no error";
    } catch (const rt::RuntimeError& e) {
      EXPECT_EQ(e.line(), row.line);
      EXPECT_EQ(e.module(), "error_location_test.cpp");
    }
  }
}

}  // namespace
