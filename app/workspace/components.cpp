#include "app/workspace/components.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "app/workspace/control_refs.h"
#include "app/workspace/error_locations.h"
#include "app/workspace/workspace.h"
#include "app/workspace/workspace_part.h"
#include "forms/peak_rows.h"
#include "runtime/errors/runtime_error.h"
#include "runtime/forms/control_values.h"
#include "runtime/forms/events.h"

namespace app {
namespace {

constexpr Param kRuleParams[] = {Param::Centre, Param::Width, Param::Height, Param::Alpha};

RuleParam rule_param(Param p) { return static_cast<RuleParam>(static_cast<int>(p)); }

std::string& accepted(int k, Param p) {
  return workspace().fit.rules.at(static_cast<std::size_t>(k - 1)).at(static_cast<std::size_t>(p));
}

// One value shown twice: a field or box of the peak table and its twin in the window.
struct Twin {
  rt::ObjRef table, window;
  bool check = false;
};

std::vector<Twin> twins() {
  std::vector<Twin> out;
  for (int k = 1; k <= kSlots; ++k) {
    const forms::ComponentRowNumbers n = forms::component_row(k);
    out.push_back({field_of(k, Param::Centre), COMPONENT_EDIT(n.centre)});
    out.push_back({field_of(k, Param::Width), COMPONENT_EDIT(n.width)});
    out.push_back({field_of(k, Param::Height), COMPONENT_EDIT(n.height)});
    out.push_back({field_of(k, Param::Alpha), COMPONENT_EDIT(n.alpha)});
    out.push_back({asymmetric_box_of(k), COMPONENT_CHECK(n.asymmetric), true});
  }
  return out;
}

std::string value_of(const Twin& t, rt::ObjRef side) {
  return t.check ? std::string(1, static_cast<char>('0' + rt::get_check(side)))
                 : rt::get_text(side);
}

void put(const Twin& t, rt::ObjRef side, const std::string& value) {
  if (t.check)
    rt::set_check(side, value[0] - '0');
  else
    rt::set_text(side, value);
}

// What each twin showed at the last sync, so that a sync can tell which side changed since.
std::vector<std::string>& last_synced() { return workspace_part().component_window.last_synced; }

bool window_exists() {
  return controls().form7 != rt::kNullRef && rt::form_exists(controls().form7);
}

// The rule a cell would hold, by its text (free when it does not parse).
ConstraintRule parsed(int k, Param p, const std::string& text) {
  ParsedRule r = parse_constraint(text, rule_param(p));
  (void)k;
  return r.rule ? *r.rule : ConstraintRule{};
}

// Links of parameter p (the height's and the area's are one chain) from component k, with
// component `k`'s cell read as `text`: whether they come back to k.
bool makes_cycle(int k, Param p, const ConstraintRule& rule) {
  int at = rule.source;
  for (int steps = 0; steps <= kComponents; ++steps) {
    if (at == k) return true;
    if (at < 1 || at > kComponents) return false;
    const ConstraintRule next = constraint_rule(at, p);
    if (!next.is_link()) return false;
    at = next.source;
  }
  return true;
}

bool& deferring() { return workspace_part().component_window.deferring; }
std::vector<rt::ObjRef>& deferred_cells() {
  return workspace_part().component_window.deferred_cells;
}

void check_typed_rule(int k, Param p) {
  const std::string text = rt::get_text(rule_field_of(k, p));
  const std::string why = rule_refusal(k, p, text);
  if (why.empty()) {
    accepted(k, p) = text;
    return;
  }
  rt::set_text(rule_field_of(k, p), accepted(k, p));
  rt::raise_error_with_detail(rt::kInvalidArgument,
                              std::string("Component ") + component_label(k) + ", " +
                                  rule_param_name(rule_param(p)) + ": \"" + text +
                                  "\" is refused: " + why + "; the cell keeps its old text",
                              location(ComponentCheck::RuleRefused));
}

}  // namespace

char component_label(int k) { return static_cast<char>('A' + k - 1); }

int component_count() {
  for (int k = window_exists() ? kComponents : kSlots; k >= 1; --k)
    if (Present(k)) return k;
  return 0;
}

rt::ObjRef name_field_of(int k) { return COMPONENT_EDIT(forms::component_row(k).name); }
std::string component_name(int k) {
  return window_exists() ? rt::get_text(name_field_of(k)) : std::string();
}
void set_component_name(int k, const std::string& name) { rt::set_text(name_field_of(k), name); }

rt::ObjRef rule_field_of(int k, Param p) {
  const forms::ComponentRowNumbers n = forms::component_row(k);
  switch (p) {
    case Param::Centre:
      return COMPONENT_EDIT(n.centre_rule);
    case Param::Width:
      return COMPONENT_EDIT(n.width_rule);
    case Param::Height:
      return COMPONENT_EDIT(n.height_rule);
    case Param::Alpha:
      return COMPONENT_EDIT(n.alpha_rule);
  }
  return {};
}

std::string constraint_text(int k, Param p) {
  return window_exists() ? rt::get_text(rule_field_of(k, p)) : std::string();
}

std::string rule_refusal(int k, Param p, const std::string& text) {
  const ParsedRule r = parse_constraint(text, rule_param(p));
  if (!r.rule) return r.why;
  if (!r.rule->is_link()) return "";
  const int source = r.rule->source;
  if (source == k) return "a component cannot follow itself";
  if (source > kComponents || !Present(source))
    return std::string("component ") + component_label(source) + " is absent";
  if (makes_cycle(k, p, *r.rule))
    return std::string("the links would go round in a cycle back to ") + component_label(k);
  return "";
}

std::string set_constraint_text(int k, Param p, const std::string& text) {
  std::string why = rule_refusal(k, p, text);
  if (!why.empty()) return why;
  rt::set_text(rule_field_of(k, p), text);
  accepted(k, p) = text;
  return "";
}

void set_component_locked(int k, Param p, bool locked) {
  if (k <= kSlots) {
    rt::set_check(lock_of(k, p), locked ? 1 : 0);
    return;
  }
  const RuleKind kind = constraint_rule(k, p).kind;
  if (locked && kind == RuleKind::Free) set_constraint_text(k, p, "fix");
  if (!locked && kind == RuleKind::Fix) set_constraint_text(k, p, "");
}

ConstraintRule constraint_rule(int k, Param p) {
  if (!window_exists()) return {};
  return parsed(k, p, rt::get_text(rule_field_of(k, p)));
}

bool rule_fixes(int k, Param p) { return constraint_rule(k, p).kind == RuleKind::Fix; }

bool linked(int k, Param p) {
  const ConstraintRule rule = constraint_rule(k, p);
  return rule.is_link() && rule.source >= 1 && rule.source <= kComponents && rule.source != k &&
         Present(rule.source);
}

bool any_constraint() {
  if (!window_exists()) return false;
  for (int k = 1; k <= kComponents; ++k)
    for (Param p : kRuleParams)
      if (!rt::get_text(rule_field_of(k, p)).empty() && Present(k)) return true;
  return false;
}

void on_user_text(rt::ObjRef field) {
  forget_kept_value_of(field);
  if (!window_exists()) return;
  const std::vector<Twin> all = twins();
  std::vector<std::string>& last = last_synced();
  last.resize(all.size());
  for (std::size_t i = 0; i < all.size(); ++i) {
    const Twin& t = all[i];
    if (t.check || (field != t.table && field != t.window)) continue;
    const rt::ObjRef other = field == t.table ? t.window : t.table;
    rt::set_text(other, rt::get_text(field));
    forget_kept_value_of(other);
    last[i] = rt::get_text(field);
    return;
  }
  for (int k = 1; k <= kComponents; ++k)
    for (Param p : kRuleParams) {
      if (rule_field_of(k, p) != field) continue;
      if (deferring()) {
        std::vector<rt::ObjRef>& cells = deferred_cells();
        if (std::find(cells.begin(), cells.end(), field) == cells.end()) cells.push_back(field);
        return;
      }
      if (rt::get_text(field) == accepted(k, p)) return;
      if (rt::procedure_running()) {
        // Typed while a fit runs: no report can interrupt it, so a refused text just goes.
        if (rule_refusal(k, p, rt::get_text(field)).empty())
          accepted(k, p) = rt::get_text(field);
        else
          rt::set_text(field, accepted(k, p));
      } else {
        rt::run_procedure([k, p] { check_typed_rule(k, p); });
      }
      return;
    }
}

RuleCheckDeferral::RuleCheckDeferral() { deferring() = true; }
RuleCheckDeferral::~RuleCheckDeferral() { deferring() = false; }

void check_deferred_rules() {
  const std::vector<rt::ObjRef> cells = std::exchange(deferred_cells(), {});
  if (!window_exists()) return;
  // The window lives as long as the program, and its cells with it.
  for (rt::ObjRef cell : cells) on_user_text(cell);
}

void sync_component_rows() {
  if (!window_exists()) return;
  const std::vector<Twin> all = twins();
  std::vector<std::string>& last = last_synced();
  last.resize(all.size());
  for (std::size_t i = 0; i < all.size(); ++i) {
    const Twin& t = all[i];
    const std::string table = value_of(t, t.table), window = value_of(t, t.window);
    if (table != window) {
      if (window != last[i] && table == last[i]) {
        put(t, t.table, window);
        if (!t.check) forget_kept_value_of(t.table);
      } else {
        put(t, t.window, table);
      }
    }
    last[i] = value_of(t, t.table);
  }
  // The shares of rows 1 to 6 are the ratio fields'.
  for (int k = 1; k <= kSlots; ++k)
    rt::set_text(COMPONENT_TEXT(forms::component_row(k).share), rt::get_text(ratio_field_of(k)));
}

}  // namespace app
