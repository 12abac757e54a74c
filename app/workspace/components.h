#pragma once
// The components A to T beyond the peak table's fields: their names, their constraint cells,
// and the "Components" window's rows 1 to 6, which show the peak table's rows again and are
// kept in step with them both ways. Values, asymmetry and locks are the peak table's
// (peak_table.h), which reaches slots 7 to 20 in the window's fields.

#include <string>

#include "app/workspace/constraint_rule.h"
#include "app/workspace/peak_table.h"
#include "runtime/forms/objects.h"

namespace app {

// 'A' for component 1 ... 'T' for 20.
char component_label(int k);
// The highest present component, 0 when none is.
int component_count();

// The free-text name ("C-C") of component k.
rt::ObjRef name_field_of(int k);
std::string component_name(int k);
void set_component_name(int k, const std::string& name);

// Component k's constraint cell for parameter p (the height's cell also takes "area=...").
rt::ObjRef rule_field_of(int k, Param p);
std::string constraint_text(int k, Param p);
// Puts `text` into the cell when it parses and fits the table (a link's source present, not
// itself, no cycle); returns why not, and changes nothing then. An empty text frees the cell.
std::string set_constraint_text(int k, Param p, const std::string& text);
// Why the text would be refused in component k's cell p; empty when it would be accepted.
std::string rule_refusal(int k, Param p, const std::string& text);
// Locks component k's parameter p (centre, width, height) or frees it: the peak table's lock
// box for slots 1 to 6, the "fix" rule of the cell for 7 to 20 (whose only lock it is). A
// cell holding another rule keeps it.
void set_component_locked(int k, Param p, bool locked);

// The cell's rule as accepted (free when empty).
ConstraintRule constraint_rule(int k, Param p);
// Whether the cell says "fix".
bool rule_fixes(int k, Param p);
// A link whose source is present: what "FITTING" and Refine follow.
bool linked(int k, Param p);
// Whether any cell of a present component holds a rule.
bool any_constraint();

// A user typed into `field`: a value a fit kept behind it is forgotten, a mirrored row's twin
// gets the same text, and a constraint cell's text is checked (refused: its old text is put
// back and the refusal reported as a run-time error).
void on_user_text(rt::ObjRef field);

// On the desktop a cell is typed into one key at a time: while a RuleCheckDeferral lives, a
// typed constraint cell is only noted, and check_deferred_rules() (the field left) checks it.
class RuleCheckDeferral {
 public:
  RuleCheckDeferral();
  ~RuleCheckDeferral();
  RuleCheckDeferral(const RuleCheckDeferral&) = delete;
  RuleCheckDeferral& operator=(const RuleCheckDeferral&) = delete;
};
void check_deferred_rules();

// Brings the window's rows 1 to 6 and the peak table into step: a value changed on one side
// since the last call goes to the other (the window's side wins when both changed).
void sync_component_rows();

}  // namespace app
