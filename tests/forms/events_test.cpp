#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "../support/program_fixture.h"
#include "runtime/errors/runtime_error.h"
#include "runtime/files/file_channels.h"
#include "runtime/forms/control_values.h"
#include "runtime/forms/events.h"
#include "runtime/forms/objects.h"
#include "tests/support/quiet_platform.h"

namespace {

using rt::EventKind;

// A small window of our own: two buttons and a picture.
const rt::FormDef& test_form() {
  static const rt::FormDef def = [] {
    rt::FormDef d;
    d.window.kind = rt::ElementKind::Window;
    d.window.name = "TESTFORM";
    d.window.caption = "Test";
    auto add = [&](rt::ElementKind kind, const char* name, rt::Rect rect) {
      rt::ElementDef e;
      e.kind = kind;
      e.name = name;
      e.rect = rect;
      d.controls.push_back(e);
    };
    add(rt::ElementKind::Button, "BUTTON1", {0, 0, 10, 10});
    add(rt::ElementKind::Button, "BUTTON2", {0, 20, 10, 10});
    add(rt::ElementKind::Edit, "EDIT1", {0, 40, 10, 10});
    add(rt::ElementKind::CheckBox, "CHECK1", {0, 60, 10, 10});
    add(rt::ElementKind::Picture, "PICTURE1", {0, 80, 20, 20});
    return d;
  }();
  return def;
}

// Records which procedures ran, and lets a "user" act while a procedure pumps.
struct Recorder : testing_support::QuietPlatform {
  std::vector<std::string>* log;
  std::vector<rt::ObjRef> clicks_during_pump;
  void show_error_report(const std::string&, const std::string& text) override {
    log->push_back("report" + text);
  }
  void process_pending() override {
    for (rt::ObjRef r : clicks_during_pump) rt::post_event(r, EventKind::On);
    clicks_during_pump.clear();
  }
};

class EventsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    testing_support::reset_everything(&recorder);
    rt::install_form_definitions({&test_form()}, {});
    recorder.log = &log;
    rt::set_report_sink(
        [this](const std::string& c, const std::string& t) { recorder.show_error_report(c, t); });
    form = rt::create_form("TESTFORM", true);
    b1 = rt::find_control(form, "BUTTON1");
    b2 = rt::find_control(form, "BUTTON2");
  }
  void TearDown() override { testing_support::reset_everything(); }

  void publish(const std::string& name) {
    rt::publish_procedure(name, [this, name] { log.push_back(name); });
  }

  Recorder recorder;
  std::vector<std::string> log;
  rt::ObjRef form, b1, b2;
};

TEST_F(EventsTest, EventNamesJoinTheElementNameAndTheSuffix) {
  EXPECT_EQ(rt::event_name("button1", EventKind::On), "BUTTON1_ON");
  EXPECT_EQ(rt::event_name("PICTURE1", EventKind::MouseDown), "PICTURE1_MOUSEDOWN");
  EXPECT_EQ(rt::event_name("MAINFORM", EventKind::Start), "MAINFORM_START");
  EXPECT_EQ(rt::event_name("X", EventKind::MouseWheel), "X_MOUSEWHEEL");
}

TEST_F(EventsTest, AnEventWithoutProcedureIsDropped) {
  EXPECT_FALSE(rt::post_event(b1, EventKind::On));
  EXPECT_EQ(rt::queued_event_count(), 0u);
  publish("BUTTON1_ON");
  EXPECT_TRUE(rt::post_event(b1, EventKind::On));
  EXPECT_FALSE(rt::post_event(rt::find_control(form, "PICTURE1"), EventKind::MouseMove));
  rt::run_pending_events();
  EXPECT_EQ(log, (std::vector<std::string>{"BUTTON1_ON"}));
}

// Two windows each with a BUTTON1: each window's own procedure runs for its button; one
// published without a window serves a window that has none of its own.
TEST_F(EventsTest, EachWindowOwnsItsControlsProcedures) {
  static const rt::FormDef other = [] {
    rt::FormDef d = test_form();
    d.window.name = "OTHERFORM";
    return d;
  }();
  rt::install_form_definitions({&test_form(), &other}, {});
  const rt::ObjRef other_b1 = rt::find_control(rt::create_form("OTHERFORM", true), "BUTTON1");
  rt::run_pending_events();
  rt::publish_procedure("TESTFORM", "BUTTON1_ON", [this] { log.push_back("test's"); });
  rt::publish_procedure("otherform", "BUTTON1_ON", [this] { log.push_back("other's"); });
  EXPECT_TRUE(rt::procedure_exists("OTHERFORM", "BUTTON1_ON"));
  EXPECT_FALSE(rt::procedure_exists("OTHERFORM", "BUTTON2_ON"));
  rt::post_event(other_b1, EventKind::On);
  rt::post_event(b1, EventKind::On);
  EXPECT_FALSE(rt::post_event(b2, EventKind::On));
  rt::publish_procedure("BUTTON2_ON", [this] { log.push_back("any window's"); });
  rt::post_event(b2, EventKind::On);
  rt::run_pending_events();
  EXPECT_EQ(log, (std::vector<std::string>{"other's", "test's", "any window's"}));
}

TEST_F(EventsTest, TheQueueHoldsSixtyFourAndDropsTheNext) {
  publish("BUTTON1_ON");
  for (int i = 0; i < 64; ++i) ASSERT_TRUE(rt::post_event(b1, EventKind::On)) << i;
  EXPECT_FALSE(rt::post_event(b1, EventKind::On));
  rt::run_pending_events();
  EXPECT_EQ(log.size(), 64u);
}

TEST_F(EventsTest, EventsRunFirstInFirstOut) {
  publish("BUTTON1_ON");
  publish("BUTTON2_ON");
  rt::post_event(b2, EventKind::On);
  rt::post_event(b1, EventKind::On);
  rt::post_event(b2, EventKind::On);
  rt::run_pending_events();
  EXPECT_EQ(log, (std::vector<std::string>{"BUTTON2_ON", "BUTTON1_ON", "BUTTON2_ON"}));
}

TEST_F(EventsTest, ClicksDuringALongProcedureRunAfterItInOrder) {
  publish("BUTTON2_ON");
  bool first = true;
  rt::publish_procedure("BUTTON1_ON", [this, &first] {
    log.push_back("fit begins");
    if (first) recorder.clicks_during_pump = {b2, b1};
    first = false;
    rt::pump();
    EXPECT_FALSE(rt::run_one_event());  // procedures never nest
    log.push_back("fit ends");
  });
  rt::post_event(b1, EventKind::On);
  rt::run_pending_events();
  EXPECT_EQ(log, (std::vector<std::string>{"fit begins", "fit ends", "BUTTON2_ON", "fit begins",
                                           "fit ends"}));
}

TEST_F(EventsTest, AnErrorEndsOnlyItsProcedure) {
  const auto path = std::filesystem::temp_directory_path() / "tessaly-events-test.txt";
  rt::publish_procedure("BUTTON1_ON", [&] {
    rt::open_file(path.string(), rt::OpenMode::Output, 1);
    log.push_back("before");
    rt::raise_error(11);
  });
  publish("BUTTON2_ON");
  rt::post_event(b1, EventKind::On);
  rt::post_event(b2, EventKind::On);
  rt::run_pending_events();
  ASSERT_EQ(log.size(), 3u);
  EXPECT_EQ(log[0], "before");
  EXPECT_NE(log[1].find("エラー[11]"), std::string::npos) << log[1];
  EXPECT_EQ(log[2], "BUTTON2_ON");
  EXPECT_TRUE(rt::open_file_numbers().empty());  // the failed procedure's file was closed
  std::filesystem::remove(path);
}

TEST_F(EventsTest, QuitDuringAProcedureEndsItAtTheNextPump) {
  bool after_pump = false;
  rt::publish_procedure("BUTTON1_ON", [&] {
    rt::close_form_by_user(form);  // the main window
    rt::pump();
    after_pump = true;
  });
  rt::post_event(b1, EventKind::On);
  EXPECT_THROW(rt::run_pending_events(), rt::QuitRequested);
  EXPECT_FALSE(after_pump);
  EXPECT_TRUE(rt::quit_requested());
  EXPECT_EQ(log, std::vector<std::string>{});  // no report
}

TEST_F(EventsTest, TheStartEventIsQueuedWhenAFormIsCreated) {
  publish("TESTFORM_START");
  rt::create_form("TESTFORM", false);
  rt::run_pending_events();
  EXPECT_EQ(log, (std::vector<std::string>{"TESTFORM_START"}));
}

TEST_F(EventsTest, MouseEventsCarryThePointer) {
  rt::ObjRef picture = rt::find_control(form, "PICTURE1");
  rt::MouseData seen;
  rt::publish_procedure("PICTURE1_MOUSEDOWN", [&] { seen = rt::event_mouse(); });
  rt::post_event(picture, EventKind::MouseDown, rt::MouseData{12.5f, 7, 1, 0});
  rt::run_pending_events();
  EXPECT_EQ(seen.x, 12.5f);
  EXPECT_EQ(seen.y, 7.0f);
}

}  // namespace
