#include "app/files/analysis_components.h"

#include "app/workspace/error_locations.h"
#include "runtime/errors/runtime_error.h"
#include "runtime/forms/control_values.h"

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
    default:
      return rt::kNullRef;  // names and constraints have no cells here
  }
}

rt::ObjRef box(int k, ComponentCheck c) {
  switch (c) {
    case ComponentCheck::CentreLock:
      return lock_of(k, Param::Centre);
    case ComponentCheck::WidthLock:
      return lock_of(k, Param::Width);
    case ComponentCheck::HeightLock:
      return lock_of(k, Param::Height);
    case ComponentCheck::Asymmetric:
      return asymmetric_box_of(k);
    case ComponentCheck::RowLock:
      return row_lock_of(k);
  }
  return rt::kNullRef;
}

}  // namespace

int component_count() { return kSlots; }

std::string component_label(int k) { return std::string(1, static_cast<char>('A' + k - 1)); }

bool component_text_kept(ComponentText t) { return field(1, t) != rt::kNullRef; }

std::string component_text(int k, ComponentText t) {
  const rt::ObjRef ref = field(k, t);
  return ref == rt::kNullRef ? std::string() : rt::get_text(ref);
}

void set_component_text(int k, ComponentText t, const std::string& text) {
  const rt::ObjRef ref = field(k, t);
  if (ref != rt::kNullRef)
    rt::set_text(ref, text);
  else if (!text.empty())
    rt::raise_error_with_detail(rt::kInvalidArgument,
                                "component " + component_label(k) +
                                    ": this program keeps no component names or constraints",
                                location(AnalysisCheck::NotKept));
}

int component_check(int k, ComponentCheck c) { return rt::get_check(box(k, c)); }
void set_component_check(int k, ComponentCheck c, int state) { rt::set_check(box(k, c), state); }

const KeptValue* component_kept_value(int k, Param p) { return kept_value(k, p); }
void keep_component_value(int k, Param p, double value, const std::string& text) {
  KeepParameter(k, p, value, text);
}
bool component_present(int k) { return Present(k); }

}  // namespace app
