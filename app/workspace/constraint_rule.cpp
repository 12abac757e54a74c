#include "app/workspace/constraint_rule.h"

#include <array>
#include <cctype>
#include <charconv>
#include <cmath>

namespace app {
namespace {

constexpr std::array<const char*, 4> kParamNames = {"centre", "width", "height", "alpha"};

std::string lower_without_blanks(std::string_view text) {
  std::string out;
  for (char c : text)
    if (c != ' ' && c != '\t')
      out += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return out;
}

// A whole plain decimal ("5.7", "-0.5", "1e3"), finite.
std::optional<double> number(std::string_view text) {
  if (text.empty()) return std::nullopt;
  double value = 0;
  const char* end = text.data() + text.size();
  const auto [ptr, ec] = std::from_chars(text.data(), end, value);
  if (ec != std::errc() || ptr != end || !std::isfinite(value)) return std::nullopt;
  return value;
}

ParsedRule refuse(std::string why) { return ParsedRule{std::nullopt, std::move(why)}; }

}  // namespace

std::string rule_number_text(double v) {
  std::array<char, 32> buffer{};
  const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), v);
  return std::string(buffer.data(), result.ptr);
}

const char* rule_param_name(RuleParam p) { return kParamNames[static_cast<std::size_t>(p)]; }

ParsedRule parse_constraint(std::string_view typed, RuleParam cell) {
  std::string text = lower_without_blanks(typed);
  ConstraintRule rule;
  if (text.empty()) return ParsedRule{rule, ""};
  // An optional "param=" names the parameter: the cell's own, or the area in the height cell.
  if (const std::size_t eq = text.find('='); eq != std::string::npos) {
    const std::string name = text.substr(0, eq);
    if (name == "area" && cell == RuleParam::Height) {
      rule.on_area = true;
    } else if (name != rule_param_name(cell) &&
               !(name == "asymmetry" && cell == RuleParam::Alpha)) {
      bool known = name == "area";
      for (const char* n : kParamNames) known |= name == n;
      if (!known)
        return refuse("\"" + name + "\" is no parameter (centre, width, height, area, alpha)");
      return refuse("a link joins the same parameter of two components: this cell holds the " +
                    std::string(rule_param_name(cell)) + ", not the " + name);
    }
    text.erase(0, eq + 1);
    if (text.empty()) return refuse("nothing follows \"=\"");
  }
  if (text == "fix") {
    if (rule.on_area) return refuse("\"fix\" needs no \"area=\": write fix");
    rule.kind = RuleKind::Fix;
    return ParsedRule{rule, ""};
  }
  if (text[0] >= 'a' && text[0] <= 't' && text.size() >= 2 &&
      (text[1] == '+' || text[1] == '-' || text[1] == '*')) {
    rule.source = text[0] - 'a' + 1;
    rule.kind = text[1] == '*' ? RuleKind::Ratio : RuleKind::Offset;
    std::string_view rest = std::string_view(text).substr(2);
    std::string_view tolerance;
    if (const std::size_t hash = rest.find('#'); hash != std::string_view::npos) {
      tolerance = rest.substr(hash + 1);
      rest = rest.substr(0, hash);
      const std::optional<double> t = number(tolerance);
      if (!t || !(*t > 0)) return refuse("the tolerance after \"#\" must be a number above 0");
      rule.tolerance = *t;
    }
    const std::optional<double> amount = number(rest);
    if (!amount || (!rest.empty() && (rest[0] == '-' || rest[0] == '+')))
      return refuse("\"" + std::string(rest) + "\" after the component's letter is no number");
    rule.amount = text[1] == '-' ? -*amount : *amount;
    if (rule.kind == RuleKind::Ratio && !(rule.amount > 0))
      return refuse("a ratio must be above 0");
    if (rule.on_area && rule.kind != RuleKind::Ratio)
      return refuse("an area link is a ratio: area=A*0.5");
    if (rule.kind == RuleKind::Ratio && rule.tolerance && !(*rule.tolerance < rule.amount))
      return refuse("the tolerance must leave the ratio above 0");
    return ParsedRule{rule, ""};
  }
  if (const std::size_t colon = text.find(':'); colon != std::string::npos) {
    const std::optional<double> low = number(std::string_view(text).substr(0, colon));
    const std::optional<double> high = number(std::string_view(text).substr(colon + 1));
    if (!low || !high) return refuse("bounds are two numbers, lo:hi");
    if (!(*low < *high)) return refuse("the lower bound must be below the upper");
    if (rule.on_area) return refuse("bounds hold the height itself: write lo:hi");
    rule.kind = RuleKind::Bounds;
    rule.low = *low;
    rule.high = *high;
    return ParsedRule{rule, ""};
  }
  if (text[0] >= 'a' && text[0] <= 'z' &&
      (text.size() == 1 || std::isalpha(static_cast<unsigned char>(text[1])) == 0) && text[0] > 't')
    return refuse("components are A to T");
  return refuse("not a rule: write fix, lo:hi, A+d, A-d or A*r (with #t for a tolerance)");
}

std::string rule_text(const ConstraintRule& rule) {
  std::string text;
  switch (rule.kind) {
    case RuleKind::Free:
      return "";
    case RuleKind::Fix:
      return "fix";
    case RuleKind::Bounds:
      return rule_number_text(rule.low) + ":" + rule_number_text(rule.high);
    case RuleKind::Offset:
    case RuleKind::Ratio:
      if (rule.on_area) text = "area=";
      text += static_cast<char>('A' + rule.source - 1);
      if (rule.kind == RuleKind::Ratio)
        text += "*" + rule_number_text(rule.amount);
      else
        text += (rule.amount < 0 ? "-" : "+") + rule_number_text(std::fabs(rule.amount));
      if (rule.tolerance) text += "#" + rule_number_text(*rule.tolerance);
      return text;
  }
  return text;
}

}  // namespace app
