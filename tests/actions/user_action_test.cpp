#include "platform/actions/user_action.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "../support/program_fixture.h"
#include "app/workspace/workspace.h"
#include "forms/form_library.h"
#include "platform/actions/script_error.h"
#include "runtime/forms/control_values.h"
#include "runtime/forms/menu_checks.h"

namespace {

using actions::ActionKind;
using actions::UserAction;

rt::ObjRef app_control(const char* form, const char* name) {
  return rt::find_live_form(form)->control(name)->ref();
}

TEST(UserActionLines, ReadBackAsWritten) {
  // Each line is what format_action writes for the action that parse_action reads from it.
  const char* const lines[] = {
      "set FORM2.EDIT9 285.5",
      "set FORM2.EDIT1  two  blanks kept ",
      "set FORM2.EDIT12",
      "click FORM2.BUTTON5",
      "check FORM2.CHECK18 2",
      "menu refine",
      "mouse down 120 340",
      "mouse move 121.5 -3",
      "mouse up 0 0",
      "answer file /tmp/a folder/peaks.cfg",
      "answer cancel",
      "answer yes",
      "answer no",
      "print FORM2",
      "print FORM5.EDIT1",
      "pixel 663 647",
      "pixel FORM8.PICTURE1 10 479",
      "clipboard",
      "close FORM4",
  };
  for (const char* line : lines) {
    SCOPED_TRACE(line);
    EXPECT_EQ(actions::format_action(actions::parse_action(line)), line);
  }
  const UserAction set = actions::parse_action("set FORM2.EDIT1  a b ");
  EXPECT_EQ(set.target, "FORM2.EDIT1");
  EXPECT_EQ(set.text, " a b ");  // everything after the single blank, as it stands
  const UserAction move = actions::parse_action("mouse move 121.5 -3");
  EXPECT_EQ(move.kind, ActionKind::MouseMove);
  EXPECT_EQ(move.x, 121.5f);
  EXPECT_EQ(move.y, -3.0f);
}

TEST(UserActionLines, LinesNoUserCouldWriteAreScriptErrors) {
  const char* const lines[] = {
      "frobnicate FORM2.EDIT12",
      "check FORM2.CHECK18 3",
      "check FORM2.CHECK18",
      "mouse drag 1 2",
      "mouse down 1",
      "mouse down x 2",
      "pixel 1 2 3",
      "pixel FORM8.PICTURE1 1",
      "answer file",
      "answer maybe",
      "answer yes please",
  };
  for (const char* line : lines) {
    SCOPED_TRACE(line);
    EXPECT_THROW(actions::parse_action(line), actions::ScriptError);
  }
}

TEST(MenuCommands, ComeFromTheMenuDefinition) {
  const rt::MenuDef& menu = forms::FORMMENU();
  for (const char* item : {"openfile", "saveasgraphics", "saveastext", "about"}) {
    SCOPED_TRACE(item);
    EXPECT_TRUE(actions::has_menu_command(menu, item));
  }
  EXPECT_FALSE(actions::has_menu_command(menu, "file"));  // a pop-up's title is no command
  EXPECT_FALSE(actions::has_menu_command(menu, "saveitem"));
  EXPECT_FALSE(actions::has_menu_command(menu, "smooth"));

  // An item added to the definition is a command at once, however deep.
  rt::MenuDef grown = menu;
  grown.bar.push_back(
      {"tools",
       "Tools",
       9,
       {{"smooth", "Smooth", 290, {}}, {"more", "More", 1, {{"export", "Export", 291, {}}}}}});
  EXPECT_TRUE(actions::has_menu_command(grown, "smooth"));
  EXPECT_TRUE(actions::has_menu_command(grown, "export"));
  EXPECT_FALSE(actions::has_menu_command(grown, "more"));
}

// Performing on the started program.
class PerformTest : public testing_support::ProgramTest {
 protected:
  struct Context : actions::ActionContext {
    void queue_answer(const UserAction& a) override { answers.push_back(a); }
    void write_line(const std::string& line) override { lines.push_back(line); }
    std::string clipboard_text() override { return "1\t2"; }
    std::vector<UserAction> answers;
    std::vector<std::string> lines;
  };
  bool perform(const std::string& line) {
    return actions::perform_action(actions::parse_action(line), context);
  }
  Context context;
};

TEST_F(PerformTest, ClicksToggleCheckBoxesAndQueueOnlyWhereAProcedureExists) {
  const rt::ObjRef lock = app_control("FORM2", "CHECK3");
  rt::set_check(lock, 2);
  EXPECT_TRUE(perform("click FORM2.CHECK3"));  // CHECK3_ON exists
  EXPECT_EQ(rt::get_check(lock), 1);           // grey becomes checked
  rt::run_pending_events();
  const rt::ObjRef centre_lock =
      app_control("FORM2", "CHECK19");           // row 2: untouched by row 1's lock
  EXPECT_FALSE(perform("click FORM2.CHECK19"));  // no procedure: the box still toggles
  EXPECT_EQ(rt::get_check(centre_lock), 1);
  EXPECT_FALSE(perform("click FORM2.CHECK19"));
  EXPECT_EQ(rt::get_check(centre_lock), 0);
  EXPECT_FALSE(perform("check FORM2.CHECK19 2"));
  EXPECT_EQ(rt::get_check(centre_lock), 2);
  EXPECT_EQ(rt::queued_event_count(), 0u);
}

// A check item toggles its mark before its event runs, as a check box does; its procedure
// follows the mark.
TEST_F(PerformTest, ACheckItemTogglesItsMarkFirst) {
  EXPECT_TRUE(actions::is_check_item(forms::FORMMENU(), "weightcounts"));
  EXPECT_FALSE(actions::is_check_item(forms::FORMMENU(), "refine"));
  EXPECT_FALSE(rt::menu_checked("weightcounts"));
  EXPECT_TRUE(perform("menu weightcounts"));
  EXPECT_TRUE(rt::menu_checked("weightcounts"));
  rt::run_pending_events();
  EXPECT_TRUE(app::workspace().fit.weight_counts);
  EXPECT_TRUE(perform("menu weightcounts"));
  rt::run_pending_events();
  EXPECT_FALSE(rt::menu_checked("weightcounts"));
  EXPECT_FALSE(app::workspace().fit.weight_counts);
}

TEST_F(PerformTest, UnknownNamesAndWrongKindsAreScriptErrors) {
  for (const char* line :
       {"menu file", "menu frobnicate", "click FORM2.EDIT99", "click FORM9.BUTTON1",
        "set FORM2.BUTTON1 x", "check FORM2.EDIT9 1", "print FORM9", "print EDIT9"}) {
    SCOPED_TRACE(line);
    EXPECT_THROW(perform(line), actions::ScriptError);
  }
  EXPECT_TRUE(perform("menu about"));
}

TEST_F(PerformTest, AScriptHoldsTheLeftButtonFromDownUpToAndIncludingUp) {
  std::vector<int> buttons;
  for (const char* name : {"PICTURE1_MOUSEDOWN", "PICTURE1_MOUSEMOVE", "PICTURE1_MOUSEUP"})
    rt::publish_procedure(name, [&buttons] { buttons.push_back(rt::event_mouse().buttons); });
  for (const char* line :
       {"mouse move 1 1", "mouse down 1 1", "mouse move 2 2", "mouse up 3 3", "mouse move 4 4"})
    EXPECT_TRUE(perform(line));
  rt::run_pending_events();
  EXPECT_EQ(buttons, (std::vector<int>{0, 1, 1, 1, 0}));
}

TEST_F(PerformTest, AnswersAndLooksGoToTheContext) {
  perform("set FORM2.EDIT9 12.5");
  perform("print FORM2.EDIT9");
  perform("print FORM4");
  perform("print FORM2.CHECK3");
  perform("clipboard");
  perform("pixel -5 0");
  perform("pixel FORM2.PICTURE2 3 3");  // any picture by name: slot 1's blue swatch
  EXPECT_EQ(context.lines,
            (std::vector<std::string>{"12.5", "hidden", "0", "1\t2", "FFFFFFFF", "FF0000"}));
  EXPECT_THROW(perform("pixel FORM2.EDIT9 1 1"), actions::ScriptError);
  perform("answer file relative.cfg");
  perform("answer no");
  ASSERT_EQ(context.answers.size(), 2u);
  EXPECT_EQ(context.answers[0].text, (std::filesystem::current_path() / "relative.cfg").string());
  EXPECT_EQ(context.answers[1].kind, ActionKind::AnswerNo);
}

TEST_F(PerformTest, OnlyWindowsWithACloseButtonClose) {
  perform("menu about");
  rt::run_pending_events();
  perform("close FORM2");
  EXPECT_NE(rt::find_live_form("FORM2"), nullptr);
  perform("close FORM4");
  EXPECT_EQ(rt::find_live_form("FORM4"), nullptr);
  perform("close FORM4");  // closed already: nothing happens
  EXPECT_FALSE(rt::quit_requested());
  perform("close MAINFORM");
  EXPECT_TRUE(rt::quit_requested());
}

}  // namespace
