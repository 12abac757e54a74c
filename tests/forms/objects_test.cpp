#include <gtest/gtest.h>

#include <string>

#include "../support/program_fixture.h"
#include "../support/run_time_errors.h"
#include "runtime/errors/runtime_error.h"
#include "runtime/forms/control_values.h"
#include "runtime/forms/form_definition.h"
#include "runtime/forms/objects.h"
#include "runtime/picture/picture_ops.h"

namespace {

class ObjectsTest : public testing_support::ProgramTest {};

TEST_F(ObjectsTest, FindControlChecksTheName) {
  rt::ObjRef form2 = app::controls().form2;
  EXPECT_EQ(error_of([&] { rt::find_control(form2, ""); }), 5);
  EXPECT_EQ(error_of([&] { rt::find_control(form2, "ABCDEFGHIJKLMNOPQRSTUV"); }),
            5);  // 22 characters
  EXPECT_EQ(error_of([&] { rt::find_control(form2, "EDIT99"); }), 1013);
  EXPECT_EQ(error_of([&] { rt::find_control(form2, "EDIT12"); }), 0);
  EXPECT_EQ(error_of([&] { rt::find_control(form2, "edit12"); }),
            0);  // names are not case-sensitive
  // The null reference is the main window.
  EXPECT_EQ(rt::find_control(rt::kNullRef, "PICTURE1"), app::PICTURE(1));
}

TEST_F(ObjectsTest, ShowTakesOnlyShownOrHidden) {
  rt::ObjRef form4 = app::controls().form4;
  EXPECT_EQ(error_of([&] { rt::show_form(form4, 1); }), 5);
  rt::show_form(form4, -1);
  EXPECT_TRUE(rt::form_of(form4).shown());
  rt::show_form(form4, 0);
  EXPECT_FALSE(rt::form_of(form4).shown());
}

TEST_F(ObjectsTest, ReferencesToADestroyedFormFail) {
  rt::ObjRef form4 = app::controls().form4;
  rt::ObjRef text1 = rt::find_control(form4, "TEXT1");
  rt::destroy_form(form4);
  EXPECT_FALSE(rt::form_exists(form4));
  EXPECT_EQ(error_of([&] { rt::show_form(form4, -1); }), 1000);
  EXPECT_EQ(error_of([&] { rt::get_text(text1); }), 1000);
}

TEST_F(ObjectsTest, OperationsCheckTheKindOfObject) {
  EXPECT_EQ(error_of([&] { rt::get_check(app::EDIT(12)); }), 1002);
  EXPECT_EQ(error_of([&] { rt::picture_clear(app::EDIT(12)); }), 1002);
  EXPECT_EQ(error_of([&] { rt::form_of(app::EDIT(12)); }), 1002);
  rt::ObjRef image = rt::new_image();
  EXPECT_EQ(error_of([&] { rt::picture_clear(image); }), 1002);
  EXPECT_EQ(error_of([&] { rt::image_size(app::PICTURE(1), 10, 10); }), 1002);
  rt::free_image(image);
  EXPECT_EQ(error_of([&] { rt::image_size(image, 10, 10); }), 1000);
}

TEST_F(ObjectsTest, ControlValues) {
  rt::set_text(app::EDIT(12), "285.5");
  EXPECT_EQ(rt::get_text(app::EDIT(12)), "285.5");
  rt::set_text(app::EDIT(12), "");
  EXPECT_EQ(rt::get_text(app::EDIT(12)), "");
  for (int state : {0, 1, 2}) {
    rt::set_check(app::CHECK(18), state);
    EXPECT_EQ(rt::get_check(app::CHECK(18)), state);
  }
  EXPECT_EQ(error_of([&] { rt::set_check(app::CHECK(18), 3); }), 5);
  EXPECT_EQ(error_of([&] { rt::set_check(app::CHECK(18), -1); }), 5);
  EXPECT_EQ(rt::get_text(rt::find_control(app::controls().form2, "BUTTON1")), "FITTING");
  EXPECT_EQ(rt::get_text(app::controls().form3), "Graph setting");
}

TEST_F(ObjectsTest, TypingStopsAtTheEditLimit) {
  rt::Control& edit = rt::control_of(app::EDIT(12));
  EXPECT_EQ(edit.def().edit_limit, 32767);
  EXPECT_EQ(rt::limit_to_edit_box(edit, std::string(40000, '7')).size(), 32767u);
  EXPECT_EQ(rt::limit_to_edit_box(edit, "12.5"), "12.5");
}

// A field is one line: a pasted line end would otherwise reach the settings file as a line of
// its own and shift every item after it.
TEST_F(ObjectsTest, TypingKeepsOneLineWithoutControlCharacters) {
  rt::Control& edit = rt::control_of(app::EDIT(12));
  EXPECT_EQ(rt::limit_to_edit_box(edit, "1.5\r\n"), "1.5");
  EXPECT_EQ(rt::limit_to_edit_box(edit, "first\nsecond"), "first");
  EXPECT_EQ(rt::limit_to_edit_box(edit, "old\rmac"), "old");
  EXPECT_EQ(rt::limit_to_edit_box(edit, std::string("a\tb\x7f\0c", 6)), "abc");
  EXPECT_EQ(rt::limit_to_edit_box(edit, "\xe3\x81\x82 2"), "\xe3\x81\x82 2");
  // What an edit inserted is cut at its line end; the text around it stays.
  EXPECT_EQ(rt::typed_into_edit_box(edit, "285", "285.5\r\n2"), "285.5");
  EXPECT_EQ(rt::typed_into_edit_box(edit, "2855", "28X\nY55"), "28X55");
  EXPECT_EQ(rt::typed_into_edit_box(edit, "12", "1"), "1");
  EXPECT_EQ(rt::typed_into_edit_box(edit, "", "\n"), "");
}

}  // namespace

namespace {

// A picture too large for memory fails where the run-time builds it, inside a library template;
// the report names the program's statement that created the form, never the header.
TEST(FormCreation, AnErrorInsideALibraryNamesTheProgramsStatement) {
  testing_support::reset_everything();
  rt::FormDef def;
  def.window.kind = rt::ElementKind::Window;
  def.window.name = "BIGFORM";
  rt::ElementDef picture;
  picture.kind = rt::ElementKind::Picture;
  picture.name = "PICTURE1";
  picture.rect = {0, 0, 100000, 100000};
  def.controls.push_back(picture);
  rt::install_form_definitions({&def}, {});
  unsigned line = 0;
  try {
    line = __LINE__, rt::create_form("BIGFORM", false);
    ADD_FAILURE() << "no error";
  } catch (const rt::RuntimeError& e) {
    EXPECT_EQ(e.number(), rt::kOutOfMemory);
    EXPECT_EQ(e.module(), "MAIN.BAS");
    EXPECT_EQ(e.line(), line);
    EXPECT_EQ(e.source().rfind("tests/forms/objects_test.cpp:" + std::to_string(line) + " < ", 0),
              0u)
        << e.source();
  }
  testing_support::reset_everything();
}

}  // namespace
