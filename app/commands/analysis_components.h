#pragma once
// Every access the analysis file makes to a component (labelled A to T): its fields, boxes,
// kept full values, name and constraint cells. Components A to F are the peak-setting window's
// rows; G to T live in the "Components" window, which has no lock boxes for them (their lock is
// the "fix" rule of a constraint cell).

#include <optional>
#include <string>

#include "app/workspace/components.h"
#include "app/workspace/fit_state.h"
#include "app/workspace/peak_table.h"

namespace app {

// The texts of component k (1 to kComponents).
enum class ComponentText {
  Centre,
  Width,
  Height,
  Alpha,
  Ratio,
  Name,
  CentreConstraint,
  WidthConstraint,
  HeightConstraint,
  AlphaConstraint,
};
std::string component_text(int k, ComponentText t);
// A constraint text goes through the cell's own check (a refusal is raised as when typed).
void set_component_text(int k, ComponentText t, const std::string& text);
// The constraint cell of a constraint text, none for the others.
std::optional<Param> constraint_param(ComponentText t);

// Its check boxes, states 0, 1 or 2. Components G to T have no lock boxes: theirs read 0.
enum class ComponentBox { CentreLock, WidthLock, HeightLock, Asymmetric, RowLock };
bool component_box_exists(int k, ComponentBox c);
int component_check(int k, ComponentBox c);
void set_component_check(int k, ComponentBox c, int state);

// The full value kept behind its centre, width or height field, if any.
const KeptValue* component_kept_value(int k, Param p);
// Writes the text and keeps the value behind it.
void keep_component_value(int k, Param p, double value, const std::string& text);
// Present as the peak table says: its centre text is not empty.
bool component_present(int k);

}  // namespace app
