#pragma once
// The batch's options for a raw spectrum's background (--background, --tougaard-b, --kernel,
// --offsets, --excitation): read and checked with the rest of the command line, then typed into
// the raw window's fields as a user would.

#include <optional>
#include <string>
#include <vector>

#include "platform/actions/user_action.h"

namespace batch {

struct BackgroundOptions {
  std::optional<std::string> method;  // "linear", "shirley" or "tougaard"
  std::optional<std::string> tougaard_b;
  std::optional<std::string> c, c_prime, d;  // the kernel's C, C', D
  std::optional<std::string> low_offset, high_offset;
  std::optional<std::string> excitation;

  bool any() const { return method || tougaard_b || c || low_offset || excitation; }
};

// Reads one of them; false with a one-line usage error for a value that makes no sense.
bool read_background_option(const std::string& name, const std::string& value, BackgroundOptions& o,
                            std::string& error);

// What only these options together (and --linear) can tell; empty when they agree.
std::string background_inconsistency(const BackgroundOptions& o, bool linear);

// The user's steps that set the raw window's fields for them, after "menu openraw".
std::vector<actions::UserAction> background_steps(const BackgroundOptions& o);

}  // namespace batch
