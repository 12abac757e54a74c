#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "forms/form_library.h"
#include "runtime/forms/form_definition.h"

namespace {

using rt::ElementKind;

const rt::ElementDef* find(const rt::FormDef& form, const std::string& name) {
  for (const auto& c : form.controls)
    if (c.name == name) return &c;
  return nullptr;
}

struct Expected {
  const rt::FormDef& (*form)();
  const char* name;
  ElementKind kind;
  rt::Rect rect;
  const char* caption;
};

// The controls as the windows show them: kind, client rectangle and caption.
const Expected kControls[] = {
    {forms::MAINFORM, "PICTURE1", ElementKind::Picture, {16, 16, 664, 648}, ""},
    {forms::MAINFORM, "EDIT2", ElementKind::Edit, {16, 672, 664, 24}, ""},
    {forms::FORM2, "TEXT9", ElementKind::Label, {24, 32, 64, 24}, "Target"},
    {forms::FORM2, "EDIT1", ElementKind::Edit, {96, 24, 520, 24}, ""},
    {forms::FORM2, "BUTTON3", ElementKind::Button, {624, 24, 80, 24}, "OPEN"},
    {forms::FORM2, "TEXT10", ElementKind::Label, {24, 72, 64, 16}, "Position"},
    {forms::FORM2, "EDIT9", ElementKind::Edit, {96, 64, 72, 24}, ""},
    {forms::FORM2, "EDIT10", ElementKind::Edit, {184, 64, 72, 24}, ""},
    {forms::FORM2, "TEXT11", ElementKind::Label, {280, 72, 64, 16}, "X axis +"},
    {forms::FORM2, "EDIT11", ElementKind::Edit, {352, 64, 64, 24}, ""},
    {forms::FORM2, "BUTTON4", ElementKind::Button, {424, 64, 56, 24}, "Collect"},
    {forms::FORM2, "CHECK10", ElementKind::CheckBox, {96, 104, 80, 16}, "Center"},
    {forms::FORM2, "CHECK12", ElementKind::CheckBox, {208, 104, 80, 16}, "Height"},
    {forms::FORM2, "CHECK11", ElementKind::CheckBox, {328, 104, 80, 16}, "Width"},
    {forms::FORM2, "TEXT17", ElementKind::Label, {616, 104, 40, 16}, "Alpha"},
    {forms::FORM2, "TEXT15", ElementKind::Label, {704, 104, 56, 16}, "Ratio(%)"},
    {forms::FORM2, "TEXT12", ElementKind::Label, {16, 120, 40, 16}, "Lock"},
    {forms::FORM2, "TEXT13", ElementKind::Label, {592, 120, 40, 16}, "As"},
    {forms::FORM2, "TEXT14", ElementKind::Label, {24, 336, 56, 16}, "Setting"},
    {forms::FORM2, "BUTTON22", ElementKind::Button, {88, 328, 48, 24}, "Save"},
    {forms::FORM2, "BUTTON23", ElementKind::Button, {144, 328, 48, 24}, "Load"},
    {forms::FORM2, "BUTTON24", ElementKind::Button, {88, 368, 120, 24}, "export as IMAGE"},
    {forms::FORM2, "BUTTON28", ElementKind::Button, {216, 368, 120, 24}, "export as TEXT"},
    {forms::FORM2, "BUTTON29", ElementKind::Button, {376, 336, 88, 56}, "Redraw"},
    {forms::FORM2, "BUTTON1", ElementKind::Button, {480, 336, 144, 56}, "FITTING"},
    {forms::FORM2, "TEXT16", ElementKind::Label, {632, 336, 56, 16}, "Total(%)"},
    {forms::FORM2, "EDIT42", ElementKind::Edit, {704, 328, 72, 24}, ""},
    {forms::FORM2, "BUTTON27", ElementKind::Button, {704, 360, 72, 24}, "COPY"},
    {forms::FORM2, "CHECK43", ElementKind::CheckBox, {704, 384, 56, 16}, "TAB"},
    {forms::FORM2, "TEXT18", ElementKind::Label, {568, 400, 40, 16}, "Skip"},
    {forms::FORM2, "EDIT43", ElementKind::Edit, {600, 400, 24, 16}, "3"},
    // Rows 1 and 6 of the peak table, every column.
    {forms::FORM2, "CHECK3", ElementKind::CheckBox, {24, 136, 40, 16}, "1."},
    {forms::FORM2, "PICTURE2", ElementKind::Picture, {64, 128, 16, 24}, ""},
    {forms::FORM2, "CHECK18", ElementKind::CheckBox, {96, 136, 16, 16}, ""},
    {forms::FORM2, "EDIT12", ElementKind::Edit, {112, 128, 72, 24}, ""},
    {forms::FORM2, "CHECK30", ElementKind::CheckBox, {208, 136, 16, 16}, ""},
    {forms::FORM2, "EDIT24", ElementKind::Edit, {232, 128, 72, 24}, ""},
    {forms::FORM2, "CHECK24", ElementKind::CheckBox, {328, 136, 16, 16}, ""},
    {forms::FORM2, "EDIT18", ElementKind::Edit, {344, 128, 72, 24}, ""},
    {forms::FORM2, "BUTTON5", ElementKind::Button, {432, 128, 48, 24}, "Make"},
    {forms::FORM2, "BUTTON11", ElementKind::Button, {488, 128, 24, 24}, "↓"},
    {forms::FORM2, "BUTTON16", ElementKind::Button, {520, 128, 48, 24}, "Del"},
    {forms::FORM2, "CHECK9", ElementKind::CheckBox, {592, 136, 16, 16}, ""},
    {forms::FORM2, "EDIT30", ElementKind::Edit, {616, 128, 72, 24}, ""},
    {forms::FORM2, "EDIT36", ElementKind::Edit, {704, 128, 72, 24}, ""},
    {forms::FORM2, "CHECK8", ElementKind::CheckBox, {24, 296, 40, 16}, "6."},
    {forms::FORM2, "PICTURE7", ElementKind::Picture, {64, 288, 16, 24}, ""},
    {forms::FORM2, "CHECK23", ElementKind::CheckBox, {96, 296, 16, 16}, ""},
    {forms::FORM2, "EDIT17", ElementKind::Edit, {112, 288, 72, 24}, ""},
    {forms::FORM2, "CHECK35", ElementKind::CheckBox, {208, 296, 16, 16}, ""},
    {forms::FORM2, "EDIT29", ElementKind::Edit, {232, 288, 72, 24}, ""},
    {forms::FORM2, "CHECK29", ElementKind::CheckBox, {328, 296, 16, 16}, ""},
    {forms::FORM2, "EDIT23", ElementKind::Edit, {344, 288, 72, 24}, ""},
    {forms::FORM2, "BUTTON10", ElementKind::Button, {432, 288, 48, 24}, "Make"},
    {forms::FORM2, "BUTTON21", ElementKind::Button, {520, 288, 48, 24}, "Del"},
    {forms::FORM2, "CHECK17", ElementKind::CheckBox, {592, 296, 16, 16}, ""},
    {forms::FORM2, "EDIT35", ElementKind::Edit, {616, 288, 72, 24}, ""},
    {forms::FORM2, "EDIT41", ElementKind::Edit, {704, 288, 72, 24}, ""},
    {forms::FORM2, "BUTTON15", ElementKind::Button, {488, 256, 24, 24}, "↓"},
    {forms::FORM3, "TEXT3", ElementKind::Label, {24, 24, 56, 16}, "X-axis"},
    {forms::FORM3, "CHECK1", ElementKind::CheckBox, {104, 24, 80, 16}, "User range"},
    {forms::FORM3, "TEXT4", ElementKind::Label, {40, 56, 64, 16}, "Range"},
    {forms::FORM3, "EDIT3", ElementKind::Edit, {104, 48, 64, 24}, ""},
    {forms::FORM3, "EDIT4", ElementKind::Edit, {192, 48, 64, 24}, ""},
    {forms::FORM3, "TEXT5", ElementKind::Label, {40, 104, 64, 16}, "Step"},
    {forms::FORM3, "EDIT5", ElementKind::Edit, {104, 96, 64, 24}, ""},
    {forms::FORM3, "TEXT6", ElementKind::Label, {24, 152, 64, 16}, "Y-axis"},
    {forms::FORM3, "CHECK2", ElementKind::CheckBox, {104, 152, 80, 16}, "User range"},
    {forms::FORM3, "TEXT7", ElementKind::Label, {40, 184, 64, 16}, "Range"},
    {forms::FORM3, "EDIT6", ElementKind::Edit, {104, 176, 64, 24}, ""},
    {forms::FORM3, "EDIT7", ElementKind::Edit, {192, 176, 64, 24}, ""},
    {forms::FORM3, "TEXT8", ElementKind::Label, {40, 232, 64, 16}, "Step"},
    {forms::FORM3, "EDIT8", ElementKind::Edit, {104, 224, 64, 24}, ""},
    {forms::FORM3, "BUTTON26", ElementKind::Button, {48, 280, 80, 40}, "Clear"},
    {forms::FORM3, "BUTTON2", ElementKind::Button, {144, 280, 112, 40}, "Re DRAW"},
    {forms::FORM4, "TEXT1", ElementKind::Label, {56, 56, 176, 24}, "Tessaly ver2.00"},
    {forms::FORM4, "TEXT2", ElementKind::Label, {40, 96, 216, 24}, nullptr},
};

TEST(FormDefinitions, EveryNamedControlStandsWhereTheWindowsShowIt) {
  for (const Expected& e : kControls) {
    SCOPED_TRACE(e.name);
    const rt::ElementDef* c = find(e.form(), e.name);
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(c->kind, e.kind);
    EXPECT_EQ(c->rect.left, e.rect.left);
    EXPECT_EQ(c->rect.top, e.rect.top);
    EXPECT_EQ(c->rect.width, e.rect.width);
    EXPECT_EQ(c->rect.height, e.rect.height);
    if (e.caption) {
      EXPECT_EQ(c->caption, e.caption);
    }
  }
}

TEST(FormDefinitions, EveryPeakRowHasItsFourteenColumns) {
  for (int k = 1; k <= 6; ++k) {
    SCOPED_TRACE(k);
    const int y = 128 + 32 * (k - 1);
    auto at = [&](std::string name, int x, int top) {
      const rt::ElementDef* c = find(forms::FORM2(), name);
      ASSERT_NE(c, nullptr) << name;
      EXPECT_EQ(c->rect.left, x) << name;
      EXPECT_EQ(c->rect.top, top) << name;
    };
    auto n = [](const char* prefix, int number) { return prefix + std::to_string(number); };
    at(n("CHECK", 2 + k), 24, y + 8);
    at(n("PICTURE", 1 + k), 64, y);
    at(n("CHECK", 17 + k), 96, y + 8);
    at(n("EDIT", 11 + k), 112, y);
    at(n("CHECK", 29 + k), 208, y + 8);
    at(n("EDIT", 23 + k), 232, y);
    at(n("CHECK", 23 + k), 328, y + 8);
    at(n("EDIT", 17 + k), 344, y);
    at(n("BUTTON", 4 + k), 432, y);
    if (k <= 5) at(n("BUTTON", 10 + k), 488, y);
    at(n("BUTTON", 15 + k), 520, y);
    at(k == 1 ? "CHECK9" : n("CHECK", 11 + k), 592, y + 8);
    at(n("EDIT", 29 + k), 616, y);
    at(n("EDIT", 35 + k), 704, y);
    EXPECT_EQ(find(forms::FORM2(), n("CHECK", 2 + k))->caption, std::to_string(k) + ".");
  }
  EXPECT_EQ(find(forms::FORM2(), "BUTTON16")->caption, "Del");
}

TEST(FormDefinitions, Windows) {
  struct W {
    const rt::FormDef& (*form)();
    const char* name;
    const char* caption;
    rt::Rect rect;
    bool close_button;
  };
  const W windows[] = {
      {forms::MAINFORM, "MAINFORM", "Tessaly Ver 2.00", {143, 132, 718, 767}, true},
      {forms::FORM2, "FORM2", "Peak setting", {1013, 481, 809, 471}, false},
      {forms::FORM3, "FORM3", "Graph setting", {409, 296, 315, 384}, false},
      {forms::FORM4, "FORM4", "About", {569, 448, 300, 238}, true},
  };
  for (const W& w : windows) {
    SCOPED_TRACE(w.name);
    const rt::ElementDef& d = w.form().window;
    EXPECT_EQ(d.name, w.name);
    EXPECT_EQ(d.caption, w.caption);
    EXPECT_EQ(d.rect.left, w.rect.left);
    EXPECT_EQ(d.rect.top, w.rect.top);
    EXPECT_EQ(d.rect.width, w.rect.width);
    EXPECT_EQ(d.rect.height, w.rect.height);
    EXPECT_EQ(d.frame.system_menu, w.close_button);
    EXPECT_EQ(d.frame.minimize_box, w.close_button);
    EXPECT_EQ(d.font.face, "FixedSys");
    EXPECT_EQ(d.font.size, 18);
  }
  EXPECT_EQ(forms::MAINFORM().window.menu, "FORMMENU");
  EXPECT_EQ(find(forms::MAINFORM(), "PICTURE1")->font.size, 14);
}

TEST(FormDefinitions, NamesAreUniqueShortAndEditBoxesHaveTheirLimit) {
  for (const rt::FormDef* form :
       {&forms::MAINFORM(), &forms::FORM2(), &forms::FORM3(), &forms::FORM4(), &forms::FORM6(),
        &forms::FORM7(), &forms::FORM8()}) {
    SCOPED_TRACE(form->window.name);
    std::set<std::string> names;
    for (const auto& c : form->controls) {
      EXPECT_TRUE(names.insert(c.name).second) << c.name;
      EXPECT_LE(c.name.size(), 21u);
      if (c.kind == ElementKind::Edit) {
        EXPECT_EQ(c.edit_limit, 32767) << c.name;
      }
    }
  }
  EXPECT_EQ(forms::FORM2().controls.size(), 29u + 6 * 13 + 5);
}

// "Raw spectrum" opens clear of the places of the other windows, so it hides none of them.
TEST(FormDefinitions, TheRawSpectrumWindowOverlapsNoOtherWindow) {
  const rt::Rect raw = forms::FORM5().window.rect;
  for (const rt::FormDef* form :
       {&forms::MAINFORM(), &forms::FORM2(), &forms::FORM3(), &forms::FORM4()}) {
    const rt::Rect r = form->window.rect;
    const bool apart = raw.left >= r.left + r.width || r.left >= raw.left + raw.width ||
                       raw.top >= r.top + r.height || r.top >= raw.top + raw.height;
    EXPECT_TRUE(apart) << form->window.name;
  }
  const std::vector<std::string> names = {
      "TEXT1",  "EDIT1",  "TEXT2",   "EDIT2",  "TEXT3",  "EDIT3",  "CHECK1",
      "TEXT4",  "EDIT4",  "BUTTON1", "CHECK2", "TEXT5",  "EDIT5",  "TEXT6",
      "EDIT6",  "TEXT7",  "EDIT7",   "TEXT8",  "EDIT8",  "TEXT9",  "EDIT9",
      "TEXT10", "EDIT10", "TEXT11",  "EDIT11", "TEXT12", "TEXT13", "LIST1"};
  ASSERT_EQ(forms::FORM5().controls.size(), names.size());
  for (std::size_t i = 0; i < names.size(); ++i)
    EXPECT_EQ(forms::FORM5().controls[i].name, names[i]);
}

TEST(FormDefinitions, MenuItemsAndTheirCommandNumbers) {
  const rt::MenuDef& m = forms::FORMMENU();
  ASSERT_EQ(m.bar.size(), 7u);
  EXPECT_EQ(m.bar[0].caption, "File");
  EXPECT_EQ(m.bar[0].items.at(0).name, "openfile");
  EXPECT_EQ(m.bar[0].items.at(0).command, 256);
  EXPECT_EQ(m.bar[0].items.at(1).name, "openraw");
  EXPECT_EQ(m.bar[0].items.at(1).caption, "Open raw spectrum...");
  EXPECT_EQ(m.bar[0].items.at(1).command, 260);
  EXPECT_EQ(m.bar[1].caption, "Save");
  EXPECT_EQ(m.bar[1].items.at(0).caption, "Save results as graphics ");
  EXPECT_EQ(m.bar[1].items.at(0).command, 257);
  EXPECT_EQ(m.bar[1].items.at(1).name, "saveastext");
  EXPECT_EQ(m.bar[1].items.at(1).command, 258);
  EXPECT_EQ(m.bar[3].name, "about");
  EXPECT_TRUE(m.bar[3].items.empty());
  EXPECT_EQ(m.bar[3].command, 259);
  // The "Fit" pop-up comes after "Save"; its commands take numbers no other item has.
  EXPECT_EQ(m.bar[2].name, "fititem");
  EXPECT_EQ(m.bar[2].caption, "Fit");
  ASSERT_EQ(m.bar[2].items.size(), 8u);
  EXPECT_EQ(m.bar[2].items[0].name, "refine");
  EXPECT_EQ(m.bar[2].items[0].caption, "Refine (least squares)");
  EXPECT_EQ(m.bar[2].items[1].name, "savereport");
  EXPECT_EQ(m.bar[2].items[1].caption, "Save fit report...");
  EXPECT_EQ(m.bar[2].items[2].name, "fitreport");
  EXPECT_EQ(m.bar[2].items[3].name, "weightcounts");
  EXPECT_EQ(m.bar[2].items[3].caption, "Weight by counting statistics");
  EXPECT_TRUE(m.bar[2].items[3].check_item);
  EXPECT_EQ(m.bar[2].items[6].name, "activebackground");
  EXPECT_EQ(m.bar[2].items[6].caption, "Fit background with peaks");
  EXPECT_TRUE(m.bar[2].items[6].check_item);
  EXPECT_FALSE(m.bar[2].items[0].check_item);
  EXPECT_EQ(m.bar[2].items[4].name, "fitview");
  EXPECT_EQ(m.bar[2].items[4].caption, "Fit view");
  EXPECT_EQ(m.bar[2].items[5].name, "savefigure");
  EXPECT_EQ(m.bar[2].items[5].caption, "Save figure...");
  EXPECT_EQ(m.bar[2].items[7].name, "components");
  EXPECT_EQ(m.bar[2].items[7].caption, "Components");
  // The analysis file's two items before File > Exit, which stays last; Edit, Window and Help
  // after About.
  EXPECT_EQ(m.bar[0].items.at(2).name, "openanalysis");
  EXPECT_EQ(m.bar[0].items.at(2).caption, "Open analysis...");
  EXPECT_EQ(m.bar[0].items.at(3).name, "saveanalysis");
  EXPECT_EQ(m.bar[0].items.at(3).caption, "Save analysis...");
  ASSERT_EQ(m.bar[0].items.size(), 5u);
  EXPECT_EQ(m.bar[0].items.at(4).name, "exit");
  const std::pair<const char*, std::vector<std::string>> added[] = {
      {"Edit", {"undo", "redo"}},
      {"Window",
       {"showpeaks", "showgraphsetting", "showrawspectrum", "showfitreport", "showfitview",
        "showcomponents"}},
      {"Help", {"manual"}},
  };
  for (std::size_t i = 0; i < std::size(added); ++i) {
    const rt::MenuItemDef& popup = m.bar[4 + i];
    EXPECT_EQ(popup.caption, added[i].first);
    std::vector<std::string> names;
    for (const auto& item : popup.items) names.push_back(item.name);
    EXPECT_EQ(names, added[i].second);
  }
  std::set<int> commands;
  for (const auto& entry : m.bar) {
    if (entry.items.empty()) {
      EXPECT_TRUE(commands.insert(entry.command).second) << entry.name;
    }
    for (const auto& item : entry.items) {
      EXPECT_TRUE(commands.insert(item.command).second) << item.name;
    }
  }
}

}  // namespace
