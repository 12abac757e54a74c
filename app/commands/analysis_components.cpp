#include "app/commands/analysis_components.h"

#include "app/workspace/error_locations.h"
#include "runtime/errors/runtime_error.h"
#include "runtime/forms/control_values.h"
#include "runtime/forms/objects.h"

namespace app {
namespace {

rt::ObjRef field(int k, ComponentText t) {
  switch (t) {
    case ComponentText::Centre:
      return field_of(k, Param::Centre);
    case ComponentText::Width:
      return field_of(k, Param::Width);
    case ComponentText::Height:
      return field_of(k, Param::Height);
    case ComponentText::Alpha:
      return field_of(k, Param::Alpha);
    case ComponentText::Ratio:
      return ratio_field_of(k);
    case ComponentText::Name:
      return name_field_of(k);
    default: {
      const std::optional<Param> p = constraint_param(t);
      return p ? rule_field_of(k, *p) : rt::kNullRef;
    }
  }
}

rt::ObjRef box(int k, ComponentBox c) {
  switch (c) {
    case ComponentBox::CentreLock:
      return k <= kSlots ? lock_of(k, Param::Centre) : rt::kNullRef;
    case ComponentBox::WidthLock:
      return k <= kSlots ? lock_of(k, Param::Width) : rt::kNullRef;
    case ComponentBox::HeightLock:
      return k <= kSlots ? lock_of(k, Param::Height) : rt::kNullRef;
    case ComponentBox::Asymmetric:
      return asymmetric_box_of(k);
    case ComponentBox::RowLock:
      return k <= kSlots ? row_lock_of(k) : rt::kNullRef;
  }
  return rt::kNullRef;
}

}  // namespace

std::optional<Param> constraint_param(ComponentText t) {
  switch (t) {
    case ComponentText::CentreConstraint:
      return Param::Centre;
    case ComponentText::WidthConstraint:
      return Param::Width;
    case ComponentText::HeightConstraint:
      return Param::Height;
    case ComponentText::AlphaConstraint:
      return Param::Alpha;
    default:
      return std::nullopt;
  }
}

std::string component_text(int k, ComponentText t) { return rt::get_text(field(k, t)); }

void set_component_text(int k, ComponentText t, const std::string& text) {
  if (const std::optional<Param> p = constraint_param(t)) {
    const std::string why = set_constraint_text(k, *p, text);
    if (!why.empty())
      rt::raise_error_with_detail(
          rt::kInvalidArgument,
          std::string("component ") + component_label(k) + ": \"" + text + "\" is refused: " + why,
          location(AnalysisCheck::BadValue));
    return;
  }
  rt::set_text(field(k, t), text);
}

bool component_box_exists(int k, ComponentBox c) { return box(k, c) != rt::kNullRef; }

int component_check(int k, ComponentBox c) {
  const rt::ObjRef ref = box(k, c);
  return ref == rt::kNullRef ? 0 : rt::get_check(ref);
}

void set_component_check(int k, ComponentBox c, int state) {
  const rt::ObjRef ref = box(k, c);
  if (ref != rt::kNullRef) rt::set_check(ref, state);
}

const KeptValue* component_kept_value(int k, Param p) { return kept_value(k, p); }
void keep_component_value(int k, Param p, double value, const std::string& text) {
  KeepParameter(k, p, value, text);
}
bool component_present(int k) { return Present(k); }

}  // namespace app
