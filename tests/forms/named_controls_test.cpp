#include "forms/named_controls.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "forms/form_library.h"
#include "runtime/forms/form_definition.h"

namespace {

using rt::ElementKind;

const rt::FormDef* form_named(const std::string& name) {
  for (const rt::FormDef* f : {&forms::MAINFORM(), &forms::FORM2(), &forms::FORM3(),
                               &forms::FORM4(), &forms::FORM5(), &forms::FORM6(), &forms::FORM8()})
    if (f->window.name == name) return f;
  return nullptr;
}

const rt::MenuItemDef* menu_item(const std::vector<rt::MenuItemDef>& items,
                                 const std::string& name) {
  for (const rt::MenuItemDef& i : items) {
    if (i.items.empty() && i.name == name) return &i;
    if (const rt::MenuItemDef* found = menu_item(i.items, name)) return found;
  }
  return nullptr;
}

// A name that drifted from its window's definition would make the batch's steps fail on
// every spectrum, or worse press a different control: each must be the control it says.
TEST(NamedControls, EachIsTheControlItsNameSays) {
  struct Case {
    forms::ControlName name;
    ElementKind kind;
    const char* caption;  // nullptr: a field, whose caption is its text
  };
  const Case cases[] = {
      {forms::kFittingButton, ElementKind::Button, "FITTING"},
      {forms::kOpenButton, ElementKind::Button, "OPEN"},
      {forms::kSaveButton, ElementKind::Button, "Save"},
      {forms::kLoadButton, ElementKind::Button, "Load"},
      {forms::kExportImageButton, ElementKind::Button, "export as IMAGE"},
      {forms::kExportTextButton, ElementKind::Button, "export as TEXT"},
      {forms::kRawWindowFrom, ElementKind::Edit, nullptr},
      {forms::kRawWindowTo, ElementKind::Edit, nullptr},
      {forms::kRawEndPoints, ElementKind::Edit, nullptr},
      {forms::kRawShirleyBox, ElementKind::CheckBox, nullptr},
      {forms::kRawOpenButton, ElementKind::Button, "開く..."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.name.form) + "." + c.name.control);
    const rt::FormDef* form = form_named(c.name.form);
    ASSERT_NE(form, nullptr);
    const rt::ElementDef* found = nullptr;
    for (const rt::ElementDef& e : form->controls)
      if (e.name == c.name.control) found = &e;
    ASSERT_NE(found, nullptr);
    EXPECT_EQ(found->kind, c.kind);
    if (c.caption) {
      EXPECT_EQ(found->caption, c.caption);
    }
  }
}

TEST(NamedControls, EachMenuNameIsACommandOfTheMainMenu) {
  const struct {
    const char* name;
    const char* caption;
    bool check_item;
  } cases[] = {
      {forms::kOpenFileItem, "Open", false},
      {forms::kOpenRawItem, "Open raw spectrum...", false},
      {forms::kSaveGraphicsItem, "Save results as graphics ", false},
      {forms::kSaveTextItem, "Save results as text data", false},
      {forms::kExitItem, "Exit", false},
      {forms::kRefineItem, "Refine (least squares)", false},
      {forms::kSaveReportItem, "Save fit report...", false},
      {forms::kSaveFigureItem, "Save figure...", false},
      {forms::kWeightCountsItem, "Weight by counting statistics", true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const rt::MenuItemDef* item = menu_item(forms::FORMMENU().bar, c.name);
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->caption, c.caption);
    EXPECT_EQ(item->check_item, c.check_item);
  }
}

}  // namespace
