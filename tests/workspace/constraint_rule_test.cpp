// The constraint cells' texts: what each form means, what is refused and why, and that the
// report's text of a rule reads back to the same rule.
#include "app/workspace/constraint_rule.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using app::RuleKind;
using app::RuleParam;

struct Accepted {
  const char* text;
  RuleParam cell;
  RuleKind kind;
  int source;
  double amount;
  double tolerance;  // 0: none
  bool on_area;
  const char* written;  // as the report writes it
};

TEST(ConstraintRule, EachFormMeansWhatItSays) {
  const Accepted cases[] = {
      {"", RuleParam::Centre, RuleKind::Free, 0, 0, 0, false, ""},
      {"  ", RuleParam::Width, RuleKind::Free, 0, 0, 0, false, ""},
      {"fix", RuleParam::Height, RuleKind::Fix, 0, 0, 0, false, "fix"},
      {" FIX ", RuleParam::Centre, RuleKind::Fix, 0, 0, 0, false, "fix"},
      {"A+5.7", RuleParam::Centre, RuleKind::Offset, 1, 5.7, 0, false, "A+5.7"},
      {"b - 0.6", RuleParam::Centre, RuleKind::Offset, 2, -0.6, 0, false, "B-0.6"},
      {"A*1", RuleParam::Width, RuleKind::Ratio, 1, 1, 0, false, "A*1"},
      {"T*0.25", RuleParam::Alpha, RuleKind::Ratio, 20, 0.25, 0, false, "T*0.25"},
      {"area=A*0.5", RuleParam::Height, RuleKind::Ratio, 1, 0.5, 0, true, "area=A*0.5"},
      {"height=C*2", RuleParam::Height, RuleKind::Ratio, 3, 2, 0, false, "C*2"},
      {"centre=A+5.7#0.2", RuleParam::Centre, RuleKind::Offset, 1, 5.7, 0.2, false, "A+5.7#0.2"},
      {"A*0.5#0.1", RuleParam::Height, RuleKind::Ratio, 1, 0.5, 0.1, false, "A*0.5#0.1"},
  };
  for (const Accepted& c : cases) {
    SCOPED_TRACE(c.text);
    const app::ParsedRule parsed = app::parse_constraint(c.text, c.cell);
    ASSERT_TRUE(parsed.rule.has_value()) << parsed.why;
    EXPECT_EQ(parsed.rule->kind, c.kind);
    EXPECT_EQ(parsed.rule->on_area, c.on_area);
    if (parsed.rule->is_link()) {
      EXPECT_EQ(parsed.rule->source, c.source);
      EXPECT_DOUBLE_EQ(parsed.rule->amount, c.amount);
      EXPECT_EQ(parsed.rule->tolerance.has_value(), c.tolerance > 0);
      if (c.tolerance > 0) {
        EXPECT_DOUBLE_EQ(*parsed.rule->tolerance, c.tolerance);
      }
    }
    EXPECT_EQ(app::rule_text(*parsed.rule), c.written);
    // What the report writes reads back to the same rule.
    const app::ParsedRule again = app::parse_constraint(app::rule_text(*parsed.rule), c.cell);
    ASSERT_TRUE(again.rule.has_value());
    EXPECT_EQ(*again.rule, *parsed.rule);
  }
  const app::ParsedRule bounds = app::parse_constraint("-1.5:2e1", RuleParam::Centre);
  ASSERT_TRUE(bounds.rule.has_value());
  EXPECT_EQ(bounds.rule->kind, RuleKind::Bounds);
  EXPECT_EQ(bounds.rule->low, -1.5);
  EXPECT_EQ(bounds.rule->high, 20);
  EXPECT_EQ(app::rule_text(*bounds.rule), "-1.5:20");
}

TEST(ConstraintRule, RefusalsSayWhy) {
  struct Refused {
    const char* text;
    RuleParam cell;
    const char* why_contains;
  };
  const Refused cases[] = {
      {"width=A*1", RuleParam::Centre, "same parameter"},
      {"area=A*0.5", RuleParam::Centre, "same parameter"},
      {"colour=A*1", RuleParam::Centre, "no parameter"},
      {"area=A+1", RuleParam::Height, "area link is a ratio"},
      {"A*0", RuleParam::Width, "ratio must be above 0"},
      {"A*-2", RuleParam::Width, "no number"},
      {"A+", RuleParam::Centre, "no number"},
      {"A+5.7#0", RuleParam::Centre, "tolerance"},
      {"A+5.7#x", RuleParam::Centre, "tolerance"},
      {"A*0.5#0.5", RuleParam::Height, "tolerance must leave"},
      {"5:5", RuleParam::Width, "lower bound"},
      {"1:x", RuleParam::Width, "two numbers"},
      {"U+1", RuleParam::Centre, "A to T"},
      {"A+1,5", RuleParam::Centre, "no number"},
      {"loose", RuleParam::Centre, "not a rule"},
      {"A+inf", RuleParam::Centre, "no number"},
      {"=", RuleParam::Centre, "no parameter"},
  };
  for (const Refused& c : cases) {
    SCOPED_TRACE(c.text);
    const app::ParsedRule parsed = app::parse_constraint(c.text, c.cell);
    EXPECT_FALSE(parsed.rule.has_value());
    EXPECT_NE(parsed.why.find(c.why_contains), std::string::npos) << parsed.why;
  }
}

}  // namespace
