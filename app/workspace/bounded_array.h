#pragma once
// A fixed-size array of singles with the bounds of the program's arrays: indices 0 to Upper.
// An index beyond a bound is run-time error 9.

#include <array>
#include <cstdint>
#include <cstring>
#include <source_location>

#include "app/workspace/error_locations.h"
#include "runtime/errors/runtime_error.h"

namespace app {

template <std::int32_t Upper>
class SingleArray {
 public:
  static constexpr std::int32_t kUpper = Upper;

  float& at(std::int32_t index, std::source_location where = std::source_location::current()) {
    if (index < 0 || index > Upper)
      rt::raise_error(rt::kSubscriptOutOfRange, location(ArrayCheck::IndexOutOfRange), where);
    return values_[static_cast<std::size_t>(index)];
  }
  float at(std::int32_t index, std::source_location where = std::source_location::current()) const {
    if (index < 0 || index > Upper)
      rt::raise_error(rt::kSubscriptOutOfRange, location(ArrayCheck::IndexOutOfRange), where);
    return values_[static_cast<std::size_t>(index)];
  }

  // Unchecked access for loops that have checked their range once.
  float* data() { return values_.data(); }
  const float* data() const { return values_.data(); }

  // Bit for bit: an undo step is a change of any bit, a NaN equals itself.
  bool operator==(const SingleArray& other) const {
    return std::memcmp(values_.data(), other.values_.data(), sizeof values_) == 0;
  }

 private:
  std::array<float, Upper + 1> values_{};
};

}  // namespace app
