#pragma once
// A constraint cell's text read as a rule, without looking at any other cell: empty (free),
// "fix", "lo:hi" (bounds), or a link to another component's same parameter, "A+d", "A-d"
// (offset) or "A*r" (ratio), with an optional "#t" that lets the offset or ratio move within
// t of its value. The height cell may link the area instead: "area=A*0.5". A cell may name
// its own parameter first ("centre=A+5.7"), as the report writes it.

#include <optional>
#include <string>
#include <string_view>

namespace app {

enum class RuleKind { Free, Fix, Bounds, Offset, Ratio };

// Which cell the text was typed into: the report's names of the four parameters.
enum class RuleParam { Centre = 0, Width = 1, Height = 2, Alpha = 3 };
const char* rule_param_name(RuleParam p);

struct ConstraintRule {
  RuleKind kind = RuleKind::Free;
  double low = 0, high = 0;         // Bounds, low < high
  int source = 0;                   // the linked component, 1 (A) to 20 (T)
  double amount = 0;                // the offset d or the ratio r
  std::optional<double> tolerance;  // t > 0: the amount moves within [amount - t, amount + t]
  bool on_area = false;             // a height cell's link on the area
  bool is_link() const { return kind == RuleKind::Offset || kind == RuleKind::Ratio; }
  bool operator==(const ConstraintRule&) const = default;
};

struct ParsedRule {
  std::optional<ConstraintRule> rule;  // nothing when the text is refused
  std::string why;                     // then: what is wrong, in a user's words
};

// Letters A to T (either case) name components 1 to 20; numbers are plain decimals. Blanks
// anywhere are ignored.
ParsedRule parse_constraint(std::string_view text, RuleParam cell);

// A number as a rule's text holds it: the shortest text that reads back to the same double.
std::string rule_number_text(double v);

// The rule as the report writes it ("A+5.7", "area=A*0.5"); empty for a free cell.
std::string rule_text(const ConstraintRule& rule);

}  // namespace app
