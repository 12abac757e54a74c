#pragma once
// The ways a floating value becomes an integer. Each rounding rule has its own name.

#include <cstdint>
#include <source_location>
#include <string>

namespace rt {

// INT: the largest whole number not above x (stays floating; -2.5 gives -3).
double floor_value(double x);

// Integer arguments (indices, counts, sizes, states): nearest 32-bit integer, halves away from
// zero (2.5 gives 3, -2.5 gives -3); error 6 outside the 32-bit range.
std::int32_t nearest_int(double x, std::source_location where = std::source_location::current());

// Stores into 16-bit variables: halves to even (2.5 gives 2, 3.5 gives 4); error 6 outside
// -32768 .. 32767.
std::int16_t store_int16(double x, std::source_location where = std::source_location::current());

// Upper-case hexadecimal digits of n (two's complement for negative n), no leading zeros.
std::string hex_text(std::int32_t n);

}  // namespace rt
