// Arbitrary bytes as the text typed into a constraint cell: the parser must never crash, and a
// rule it accepts must keep its promises (bounds in order, a positive ratio, a component A to
// T, a positive tolerance) and read back, as the report writes it, to the same text.

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "app/shell/session.h"
#include "app/workspace/constraint_rule.h"

namespace {

void check(bool ok) {
  if (!ok) std::abort();
}

void check_cell(std::string_view text, app::RuleParam cell) {
  const app::ParsedRule parsed = app::parse_constraint(text, cell);
  check(parsed.rule.has_value() == parsed.why.empty());
  if (!parsed.rule) return;
  const app::ConstraintRule& rule = *parsed.rule;
  switch (rule.kind) {
    case app::RuleKind::Free:
    case app::RuleKind::Fix:
      break;
    case app::RuleKind::Bounds:
      check(std::isfinite(rule.low) && std::isfinite(rule.high) && rule.low < rule.high);
      break;
    case app::RuleKind::Offset:
    case app::RuleKind::Ratio:
      check(rule.source >= 1 && rule.source <= 20);
      check(std::isfinite(rule.amount));
      check(rule.kind == app::RuleKind::Offset || rule.amount > 0);
      check(!rule.tolerance || *rule.tolerance > 0);
      check(!rule.on_area || (cell == app::RuleParam::Height && rule.kind == app::RuleKind::Ratio));
      break;
  }
  // The report's text of the rule reads back to a rule with the same text.
  const std::string written = app::rule_text(rule);
  const app::ParsedRule again = app::parse_constraint(written, cell);
  check(again.rule.has_value());
  check(again.rule->kind == rule.kind && again.rule->source == rule.source &&
        again.rule->on_area == rule.on_area);
  check(app::rule_text(*again.rule) == written);
}

}  // namespace

// The run-time's services need a program current on the thread; one serves every input.
extern "C" int LLVMFuzzerInitialize(int*, char***) {
  static app::Session session;
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  for (app::RuleParam cell : {app::RuleParam::Centre, app::RuleParam::Width, app::RuleParam::Height,
                              app::RuleParam::Alpha})
    check_cell(text, cell);
  return 0;
}
