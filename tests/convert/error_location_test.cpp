#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>

#include "runtime/convert/arithmetic.h"
#include "runtime/convert/integer_rules.h"
#include "runtime/convert/string_functions.h"
#include "runtime/convert/text_to_number.h"
#include "runtime/errors/runtime_error.h"

namespace {

// A report must name the statement that failed, not the run-time function that noticed: each
// call below stands on the line recorded next to it. Each check has a location code of its own.
struct CallRow {
  const char* what;
  std::function<void()> call;
  unsigned line;
  std::uint32_t location;  // operation << 8 | check
};

TEST(ErrorLocation, EveryRaiseNamesTheCallersLine) {
  const CallRow rows[] = {
      {"val", [] { rt::val("1D999"); }, __LINE__, 0x50B02},
      {"scan_number", [] { rt::scan_number("-1e400"); }, __LINE__, 0x50B02},
      {"nearest_int", [] { rt::nearest_int(1e20); }, __LINE__, 0x50905},
      {"store_int16", [] { rt::store_int16(40000); }, __LINE__, 0x50A05},
      {"checked", [] { rt::checked(1.0 / 0.0); }, __LINE__, 0x50102},
      {"checked NaN", [] { rt::checked(0.0 * (1.0 / 0.0)); }, __LINE__, 0x50101},
      {"divide", [] { rt::divide(1, 0); }, __LINE__, 0x50203},
      {"divide 0 by 0", [] { rt::divide(0, 0); }, __LINE__, 0x50204},
      {"to_single", [] { rt::to_single(1e300); }, __LINE__, 0x50305},
      {"power", [] { rt::power(-2, 0.5); }, __LINE__, 0x50406},
      {"natural_log", [] { rt::natural_log(0); }, __LINE__, 0x50503},
      {"exponential", [] { rt::exponential(1000); }, __LINE__, 0x50602},
      {"integer_divide", [] { rt::integer_divide(1, 0); }, __LINE__, 0x50703},
      {"integer_remainder", [] { rt::integer_remainder(1, 0); }, __LINE__, 0x50803},
      {"left_part", [] { rt::left_part("a", -1); }, __LINE__, 0x50E06},
      {"right_part", [] { rt::right_part("a", -1); }, __LINE__, 0x50E06},
      {"middle_part", [] { rt::middle_part("a", 0, 1); }, __LINE__, 0x50E06},
      {"middle_chars", [] { rt::middle_chars("a", 1, -1); }, __LINE__, 0x50E06},
      {"find_text", [] { rt::find_text(0, "a", "a"); }, __LINE__, 0x50E06},
      {"character", [] { rt::character({300}); }, __LINE__, 0x50E06},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.what);
    try {
      row.call();
      ADD_FAILURE() << "no error";
    } catch (const rt::RuntimeError& e) {
      EXPECT_EQ(e.line(), row.line);
      EXPECT_EQ(e.module(), "MAIN.BAS");
      EXPECT_EQ(e.source(), "tests/convert/error_location_test.cpp:" + std::to_string(row.line));
      EXPECT_EQ(e.location(), row.location) << std::hex << e.location();
    }
  }
}

}  // namespace
