#include <gtest/gtest.h>

#include <set>

#include "../support/program_fixture.h"
#include "app/commands/about_commands.h"
#include "app/commands/event_table.h"
#include "app/shell/startup.h"
#include "app/workspace/peak_colours.h"
#include "app/workspace/peak_table.h"
#include "runtime/forms/control_values.h"
#include "runtime/forms/events.h"
#include "runtime/picture/picture_ops.h"

namespace {

class StartupTest : public testing_support::ProgramTest {};

TEST_F(StartupTest, ThreeWindowsShownAndTheAboutAndComponentsWindowsHidden) {
  auto forms = rt::live_forms();
  ASSERT_EQ(forms.size(), 5u);
  EXPECT_FALSE(rt::find_live_form("FORM7")->shown());
  EXPECT_EQ(forms[0]->name(), "MAINFORM");
  EXPECT_TRUE(rt::find_live_form("MAINFORM")->shown());
  EXPECT_TRUE(rt::find_live_form("FORM2")->shown());
  EXPECT_TRUE(rt::find_live_form("FORM3")->shown());
  EXPECT_FALSE(rt::find_live_form("FORM4")->shown());
  EXPECT_EQ(rt::main_form(), app::controls().mainform);
}

TEST_F(StartupTest, OnlyTheSkipFieldHoldsText) {
  for (rt::Form* form : rt::live_forms()) {
    for (const auto& c : form->controls()) {
      if (c->kind() != rt::ElementKind::Edit) continue;
      // The "Components" window's table of splittings starts filled in.
      if (form->name() == "FORM7" && std::stoi(c->name().substr(4)) > 300) continue;
      SCOPED_TRACE(c->name());
      EXPECT_EQ(c->text(), c->name() == "EDIT43" ? "3" : "");
    }
  }
  EXPECT_EQ(rt::get_text(app::EDIT(43)), "3");
}

TEST_F(StartupTest, StartValuesOfTheWorkspace) {
  const app::Workspace& w = app::workspace();
  EXPECT_EQ(w.MIXRATIO, 0.30000001192092896);
  EXPECT_EQ(w.PICWIDTH, 664);
  EXPECT_EQ(w.PICHEIGHT, 648);
  EXPECT_EQ(w.PLOTLEFT, 100);
  EXPECT_EQ(w.PLOTTOP, 50);
  EXPECT_EQ(w.PLOTWIDTH, 550);
  EXPECT_EQ(w.PLOTHEIGHT, 560);
  EXPECT_EQ(w.LASTPOINT, 0);
  EXPECT_EQ(w.XDATA.at(0), 0);
  for (int k = 1; k <= 6; ++k) EXPECT_FALSE(app::Present(k));
}

TEST_F(StartupTest, EachSwatchIsASolidBlockOfItsColour) {
  for (int k = 1; k <= 6; ++k) {
    SCOPED_TRACE(k);
    const rt::ObjRef swatch = app::swatch_of(k);
    for (int y = 0; y < 24; ++y)
      for (int x = 0; x < 16; ++x)
        ASSERT_EQ(rt::picture_pixel(swatch, x, y), app::kPeakColours[k - 1]) << x << "," << y;
  }
  EXPECT_EQ(rt::picture_pixel(app::PICTURE(1), 300, 300), 0xFFFFFFu);  // the graph starts blank
}

TEST_F(StartupTest, EveryControlTheProceduresUseHasAReference) {
  auto& c = app::controls();
  EXPECT_NE(c.picture[1], rt::kNullRef);
  EXPECT_NE(c.edit[2], rt::kNullRef);
  for (int n : {1, 9, 12, 35, 43})
    EXPECT_EQ(rt::control_of(app::EDIT(n)).name(), "EDIT" + std::to_string(n));
  for (int n = 3; n <= 8; ++n)
    EXPECT_EQ(&rt::control_of(app::EDIT(n)).form(), rt::find_live_form("FORM3"));
  for (int n : {1, 2})
    EXPECT_EQ(&rt::control_of(app::CHECK(n)).form(), rt::find_live_form("FORM3"));
  for (int n = 3; n <= 35; ++n)
    EXPECT_EQ(rt::control_of(app::CHECK(n)).kind(), rt::ElementKind::CheckBox);
  EXPECT_EQ(rt::control_of(app::CHECK(43)).def().caption, "TAB");
}

TEST_F(StartupTest, AboutTwiceShowsOneWindow) {
  rt::post_menu_event("about");
  rt::post_menu_event("about");
  rt::run_pending_events();
  int about_windows = 0;
  for (rt::Form* f : rt::live_forms()) about_windows += f->name() == "FORM4";
  EXPECT_EQ(about_windows, 1);
  EXPECT_TRUE(rt::find_live_form("FORM4")->shown());
}

TEST_F(StartupTest, AboutAfterCloseCreatesTheWindowAgain) {
  rt::post_menu_event("about");
  rt::run_pending_events();
  rt::close_form_by_user(app::controls().form4);
  EXPECT_EQ(rt::find_live_form("FORM4"), nullptr);
  rt::post_menu_event("about");
  rt::run_pending_events();
  rt::Form* about = rt::find_live_form("FORM4");
  ASSERT_NE(about, nullptr);
  EXPECT_TRUE(about->shown());
  EXPECT_EQ(about->def().window.rect.left, 569);
}

TEST_F(StartupTest, ClosingTheMainWindowEndsTheProgram) {
  rt::close_form_by_user(app::controls().mainform);
  EXPECT_TRUE(rt::quit_requested());
  rt::post_menu_event("about");
  EXPECT_FALSE(rt::run_one_event());
}

TEST_F(StartupTest, EveryPublishedNameFollowsTheEventNaming) {
  for (const std::string& name : app::event_procedure_names()) {
    SCOPED_TRACE(name);
    EXPECT_TRUE(rt::procedure_exists(name));
    EXPECT_TRUE(name.ends_with("_ON") || name.find("_MOUSE") != std::string::npos);
  }
}

// Every procedure of the program's event table, and no other: a click on any other control
// or window event runs nothing.
TEST_F(StartupTest, TheEventTableIsComplete) {
  std::set<std::string> expected = {"OPENFILE_ON",
                                    "OPENRAW_ON",
                                    "OPENANALYSIS_ON",
                                    "SAVEANALYSIS_ON",
                                    "SAVEASGRAPHICS_ON",
                                    "SAVEASTEXT_ON",
                                    "ABOUT_ON",
                                    "PICTURE1_MOUSEDOWN",
                                    "PICTURE1_MOUSEMOVE",
                                    "PICTURE1_MOUSEUP",
                                    "REFINE_ON",
                                    "SAVEREPORT_ON",
                                    "FITREPORT_ON",
                                    "UNDO_ON",
                                    "REDO_ON",
                                    "EXIT_ON",
                                    "MANUAL_ON",
                                    "SHOWPEAKS_ON",
                                    "SHOWGRAPHSETTING_ON",
                                    "SHOWRAWSPECTRUM_ON",
                                    "SHOWFITREPORT_ON",
                                    "WEIGHTCOUNTS_ON",
                                    "FITVIEW_ON",
                                    "SAVEFIGURE_ON",
                                    "SHOWFITVIEW_ON",
                                    "ACTIVEBACKGROUND_ON",
                                    "COMPONENTS_ON",
                                    "SHOWCOMPONENTS_ON"};
  for (int n = 1; n <= 29; ++n)
    if (n != 25) expected.insert("BUTTON" + std::to_string(n) + "_ON");
  for (int n = 3; n <= 17; ++n) expected.insert("CHECK" + std::to_string(n) + "_ON");
  for (int n = 101; n <= 120; ++n) expected.insert("CHECK" + std::to_string(n) + "_ON");
  const std::vector<std::string> names = app::event_procedure_names();
  EXPECT_EQ(std::set<std::string>(names.begin(), names.end()), expected);
  EXPECT_EQ(names.size(), expected.size());
}

}  // namespace

namespace {

// The items of a menu and its pop-ups, by name.
void collect_items(const std::vector<rt::MenuItemDef>& items, std::set<std::string>& names) {
  for (const rt::MenuItemDef& item : items) {
    names.insert(item.name);
    collect_items(item.items, names);
  }
}

// Each window owns its controls' events: every procedure of the table belongs to a control its
// window has (or, for the main window, to a menu item), so two windows' BUTTON1 are two
// procedures and a window without one runs nothing.
TEST_F(StartupTest, EveryProcedureBelongsToAControlOfItsWindow) {
  for (const auto& [window, event] : app::event_procedure_windows()) {
    SCOPED_TRACE(window + "." + event);
    const rt::FormDef* form = rt::find_form_definition(window);
    ASSERT_NE(form, nullptr);
    const std::string element = event.substr(0, event.rfind('_'));
    bool found = false;
    for (const rt::ElementDef& c : form->controls) found = found || c.name == element;
    if (!found && !form->window.menu.empty()) {
      std::set<std::string> items;
      collect_items(rt::find_menu_definition(form->window.menu)->bar, items);
      for (const std::string& item : items) {
        std::string upper = item;
        for (char& ch : upper) ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
        found = found || upper == element;
      }
    }
    EXPECT_TRUE(found);
  }
  EXPECT_TRUE(rt::procedure_exists("FORM2", "BUTTON1_ON"));
  EXPECT_TRUE(rt::procedure_exists("FORM5", "BUTTON1_ON"));
  EXPECT_FALSE(rt::procedure_exists("FORM3", "BUTTON1_ON"));
  EXPECT_FALSE(rt::procedure_exists("FORM8", "PICTURE1_MOUSEDOWN"));
}

// The fit view's picture is a PICTURE1 too, but a press on it queues nothing: only the graph's
// mouse edits peaks.
TEST_F(StartupTest, OnlyTheGraphsPictureTakesTheMouse) {
  rt::post_menu_event("fitview");
  rt::run_pending_events();
  rt::Form* view = rt::find_live_form("FORM8");
  ASSERT_NE(view, nullptr);
  EXPECT_FALSE(rt::post_event(view->control("PICTURE1")->ref(), rt::EventKind::MouseDown));
  EXPECT_TRUE(rt::post_event(app::PICTURE(1), rt::EventKind::MouseDown));
  rt::clear_event_queue();
}

}  // namespace
