#include "app/workspace/control_refs.h"

#include "app/workspace/workspace_part.h"
#include "forms/peak_rows.h"
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

void take_form7_refs() {
  auto& c = controls();
  for (int k = 1; k <= forms::kComponentRows; ++k) {
    const forms::ComponentRowNumbers n = forms::component_row(k);
    for (int e : {n.name, n.centre, n.width, n.height, n.alpha, n.centre_rule, n.width_rule,
                  n.height_rule, n.alpha_rule})
      c.component_edit.at(static_cast<std::size_t>(e)) = find(c.form7, "EDIT", e);
    c.component_check.at(static_cast<std::size_t>(n.asymmetric)) =
        find(c.form7, "CHECK", n.asymmetric);
    for (int t : {n.label, n.fwhm, n.area, n.share})
      c.component_text.at(static_cast<std::size_t>(t)) = find(c.form7, "TEXT", t);
  }
  for (int e : {forms::kDoubletOf, forms::kDoubletLine, forms::kDoubletSplitting})
    c.component_edit.at(static_cast<std::size_t>(e)) = find(c.form7, "EDIT", e);
  for (int i = 0; i < forms::kSplittingRows; ++i) {
    for (int e : {forms::kSplittingLine + i, forms::kSplittingValue + i})
      c.component_edit.at(static_cast<std::size_t>(e)) = find(c.form7, "EDIT", e);
  }
}

}  // namespace app
