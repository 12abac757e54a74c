#pragma once
// Text to number (VAL), exactly as every field and file of the program reads numbers.
// Locale-free: nothing here depends on the process locale that Qt sets.

#include <cstddef>
#include <source_location>
#include <string_view>

namespace rt {

// Text to number (VAL): leading ASCII blanks skipped, &H / &O forms, scanning stops at the
// first character that does not fit; no number gives 0. A whole number within the 32-bit range
// is exact; otherwise the value is rounded to single precision for an E exponent or for at most
// 7 significant digits without exponent, and kept in double for a D exponent or 8 or more
// digits. Significant digits are those written from the first nonzero one on, trailing zeros
// included ("1234.5000" has 8). An exponent letter belongs to the number only with digits
// after it ("1e" reads as 1). &H / &O give the unsigned magnitude when it fits in 32 bits, else
// 0. Beyond the double range, or beyond the single range where the value is rounded to single:
// error 6. A value too small for its precision becomes 0 without error.
double val(std::string_view s, std::source_location where = std::source_location::current());

// The numeric scan behind val(), for readers that must know how much of a text is a number.
struct NumberScan {
  double value = 0;        // as val() would give it
  std::size_t length = 0;  // bytes from the start of the text to the end of the number, the
                           // skipped blanks included (0: no number)
};
NumberScan scan_number(std::string_view s,
                       std::source_location where = std::source_location::current());

}  // namespace rt
