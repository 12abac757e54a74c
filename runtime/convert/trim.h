#pragma once
// The blanks around a text, as fields and files drop them.

#include <string>
#include <string_view>

namespace rt {

// Removes leading and trailing ASCII blanks and ideographic blanks (U+3000); tabs stay.
std::string trim(std::string_view s);

}  // namespace rt
