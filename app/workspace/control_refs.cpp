#include "app/workspace/control_refs.h"

#include "app/workspace/workspace_part.h"
#include "runtime/convert/integer_text.h"

namespace app {
namespace {

rt::ObjRef find(rt::ObjRef form, const char* prefix, int n) {
  return rt::find_control(form, prefix + rt::decimal_text(n));
}

}  // namespace

ControlRefs& controls() { return workspace_part().controls; }

void take_mainform_refs() {
  auto& c = controls();
  c.mainform = rt::main_form();
  c.picture[1] = find(c.mainform, "PICTURE", 1);
  c.edit[2] = find(c.mainform, "EDIT", 2);
}

void take_form2_refs() {
  auto& c = controls();
  c.edit[1] = find(c.form2, "EDIT", 1);
  for (int n = 9; n <= 43; ++n) c.edit[n] = find(c.form2, "EDIT", n);
  for (int n = 2; n <= 7; ++n) c.picture[n] = find(c.form2, "PICTURE", n);
  for (int n = 3; n <= 35; ++n) c.check[n] = find(c.form2, "CHECK", n);
  c.check[43] = find(c.form2, "CHECK", 43);
}

void take_form3_refs() {
  auto& c = controls();
  for (int n = 3; n <= 8; ++n) c.edit[n] = find(c.form3, "EDIT", n);
  c.check[1] = find(c.form3, "CHECK", 1);
  c.check[2] = find(c.form3, "CHECK", 2);
}

}  // namespace app
