#pragma once
// Every access the analysis file makes to a component (labelled A, B, ...): its fields, boxes,
// kept full values, name and constraint cells. Here the components are the peak-setting
// window's six rows, which hold no names or constraints: those read as empty, and an analysis
// that sets one is refused before anything changes.

#include <string>

#include "app/workspace/fit_state.h"
#include "app/workspace/peak_table.h"

namespace app {

// How many components there are room for.
int component_count();
// "A" for component 1.
std::string component_label(int k);

// The texts of component k (1 to component_count()).
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
// Whether this program keeps that text: a text it does not keep reads as empty.
bool component_text_kept(ComponentText t);
std::string component_text(int k, ComponentText t);
// A text this program does not keep may only be empty.
void set_component_text(int k, ComponentText t, const std::string& text);

// Its check boxes, states 0, 1 or 2.
enum class ComponentCheck { CentreLock, WidthLock, HeightLock, Asymmetric, RowLock };
int component_check(int k, ComponentCheck c);
void set_component_check(int k, ComponentCheck c, int state);

// The full value kept behind its centre, width or height field, if any.
const KeptValue* component_kept_value(int k, Param p);
// Writes the text and keeps the value behind it.
void keep_component_value(int k, Param p, double value, const std::string& text);
// Present as the peak table says: its centre text is not empty.
bool component_present(int k);

}  // namespace app
