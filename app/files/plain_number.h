#pragma once
// Numbers as instruments and spreadsheets write them, read without the process locale.

#include <cstdint>
#include <optional>
#include <string_view>

namespace app {

// An optional sign, digits with at most one decimal point, an optional exponent (E or e), and
// nothing else. No blanks, no "inf" or "nan", no hexadecimal; a value beyond the double range
// is no number either.
std::optional<double> plain_number(std::string_view text);

// An optional sign and decimal digits, nothing else, within the 64-bit range.
std::optional<std::int64_t> whole_number(std::string_view text);

// Leading and trailing blanks, TABs and line-end characters removed.
std::string_view trim_blanks(std::string_view text);

}  // namespace app
