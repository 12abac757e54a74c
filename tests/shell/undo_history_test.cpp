// Undo and redo as the user meets them: each command, typed field and drag is one step, and
// undo puts back every field, check state, workspace value, fit report and picture pixel
// exactly; redo re-applies; files on disk stay as they are.
#include <gtest/gtest.h>

#include <cmath>
#include <deque>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>

#include "app/commands/undo_history.h"
#include "app/graph/plot_mapping.h"
#include "app/model/fit_report.h"
#include "app/workspace/control_refs.h"
#include "app/workspace/workspace.h"
#include "runtime/forms/control_values.h"
#include "runtime/forms/events.h"
#include "runtime/picture/picture.h"
#include "tests/support/program_fixture.h"
#include "tests/support/quiet_platform.h"

namespace {

using app::EDIT;

// Everything undo must restore, read straight from the program.
struct State {
  app::Workspace workspace;
  std::map<std::string, std::string> values;  // FORM.CONTROL: text and check state
  std::map<std::string, rt::Raster> pixels;
  std::map<std::string, rt::PictureSettings> pictures;
  std::vector<std::string> report;

  static State now() {
    State s;
    s.workspace = app::workspace();
    for (rt::Form* form : rt::live_forms())
      for (const auto& c : form->controls()) {
        const std::string name = form->name() + "." + c->name();
        s.values[name] = std::to_string(c->check_state()) + " " + c->text();
        if (const rt::Picture* p = c->picture()) {
          s.pixels.emplace(name, p->raster());
          s.pictures.emplace(name, p->settings());
        }
      }
    if (const app::FitRecord* fit = app::last_fit())
      s.report = app::fit_report_lines(app::make_fit_report(*fit));
    return s;
  }
};

// Names what differs, so a failure says which field or picture undo missed.
std::string difference(const State& a, const State& b) {
  if (!(a.workspace == b.workspace)) return "the workspace";
  for (const auto& [name, value] : a.values)
    if (b.values.at(name) != value)
      return name + ": \"" + value + "\" against \"" + b.values.at(name) + "\"";
  for (const auto& [name, raster] : a.pixels)
    if (!(b.pixels.at(name) == raster)) return name + "'s pixels";
  for (const auto& [name, settings] : a.pictures)
    if (!(b.pictures.at(name) == settings)) return name + "'s drawing settings";
  if (a.report != b.report) return "the fit report";
  return "";
}

#define EXPECT_SAME(a, b) EXPECT_EQ(difference(a, b), "")

// Answers each file dialog with the next queued path.
struct AnsweringPlatform : testing_support::QuietPlatform {
  std::deque<std::string> answers;
  std::optional<std::string> file_dialog(const rt::FileDialogRequest&) override {
    if (answers.empty()) return std::nullopt;
    std::string path = answers.front();
    answers.pop_front();
    return path;
  }
};

class UndoHistory : public testing_support::ProgramTest {
 protected:
  UndoHistory() : ProgramTest(&platform_) {}
  void SetUp() override {
    ProgramTest::SetUp();
    dir_ = std::filesystem::temp_directory_path() /
           ("tessaly_undo_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
            "_" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::create_directories(dir_);
    // Two peaks on a flat background: 201 points from 300 down to 280.
    std::ofstream spectrum(dir_ / "two.bgd", std::ios::binary);
    for (int i = 0; i <= 200; ++i) {
      const double x = 300 - 0.1 * i;
      const double y = 100 + 1500 * std::exp(-(x - 285.5) * (x - 285.5) / 2) +
                       800 * std::exp(-(x - 289) * (x - 289) / 3);
      spectrum << x << "," << y + 50 << ",50\r\n";
    }
  }
  void TearDown() override {
    ProgramTest::TearDown();
    std::filesystem::remove_all(dir_);
  }
  void click(rt::ObjRef button) {
    rt::post_event(button, rt::EventKind::On);
    rt::run_pending_events();
  }
  void menu(const std::string& item) {
    rt::post_menu_event(item);
    rt::run_pending_events();
  }
  void mouse(rt::EventKind kind, float x, float y) {
    rt::post_event(app::PICTURE(1), kind, rt::MouseData{x, y, 1, 0});
    rt::run_pending_events();
  }
  // Typing into a field and leaving it.
  void type(rt::ObjRef field, const std::string& text) {
    rt::set_text(field, text);
    app::undo_checkpoint();
  }
  void open_spectrum() {
    platform_.answers.push_back((dir_ / "two.bgd").string());
    menu("openfile");
  }
  void place_two_peaks() {
    type(EDIT(12), "285");
    type(EDIT(18), "1.5");
    type(EDIT(24), "1400");
    type(EDIT(13), "289.5");
    type(EDIT(19), "2");
    type(EDIT(25), "700");
  }
  rt::ObjRef form2_button(const std::string& name) {
    return rt::find_control(app::controls().form2, name);
  }

  AnsweringPlatform platform_;
  std::filesystem::path dir_;
};

TEST_F(UndoHistory, EachCommandIsOneStepUndoneAndRedoneExactly) {
  open_spectrum();
  place_two_peaks();
  click(form2_button("BUTTON29"));  // Redraw
  const State drawn = State::now();
  click(form2_button("BUTTON1"));  // FITTING
  const State fitted = State::now();
  ASSERT_NE(difference(drawn, fitted), "");
  menu("refine");
  const State refined = State::now();
  ASSERT_NE(difference(fitted, refined), "");

  menu("undo");
  EXPECT_SAME(fitted, State::now());
  menu("undo");
  EXPECT_SAME(drawn, State::now());
  menu("redo");
  EXPECT_SAME(fitted, State::now());
  menu("redo");
  EXPECT_SAME(refined, State::now());
  menu("redo");  // nothing more to redo
  EXPECT_SAME(refined, State::now());
}

TEST_F(UndoHistory, TypedFieldsLoadsAndTheFirstSpectrumAreStepsToo) {
  const State started = State::now();
  open_spectrum();
  const State opened = State::now();
  type(EDIT(12), "285");
  const State typed = State::now();
  // A settings file that fills the table differently.
  std::ofstream settings(dir_ / "other.cfg", std::ios::binary);
  for (int n = 1; n <= 56; ++n) settings << (n <= 2 || (n >= 27 && n <= 50) ? "0" : "") << "\r\n";
  settings.close();
  platform_.answers.push_back((dir_ / "other.cfg").string());
  click(form2_button("BUTTON23"));  // Load
  ASSERT_EQ(rt::get_text(EDIT(12)), "");

  menu("undo");
  EXPECT_SAME(typed, State::now());
  menu("undo");
  EXPECT_SAME(opened, State::now());
  menu("undo");
  EXPECT_SAME(started, State::now());
  menu("undo");  // nothing more to undo
  EXPECT_SAME(started, State::now());
  // Undo never touches the files.
  EXPECT_TRUE(std::filesystem::exists(dir_ / "other.cfg"));
  EXPECT_EQ(std::filesystem::file_size(dir_ / "other.cfg"), 56u * 2 + 26);
}

TEST_F(UndoHistory, ADragFromPressToReleaseIsOneStep) {
  open_spectrum();
  place_two_peaks();
  click(form2_button("BUTTON29"));
  const State before = State::now();
  // Pressed on slot 1's top (the redraw rounded its fields), dragged right and down.
  const app::Workspace& w = app::workspace();
  const float x = std::round(app::px(w, 285)), y = std::round(app::py(w, 1400));
  mouse(rt::EventKind::MouseDown, x, y);
  mouse(rt::EventKind::MouseMove, x + 10, y);
  mouse(rt::EventKind::MouseMove, x + 20, y + 10);
  mouse(rt::EventKind::MouseUp, x + 25, y + 10);
  ASSERT_NE(rt::get_text(EDIT(12)), "285");  // the peak moved
  const State dragged = State::now();
  ASSERT_NE(difference(before, dragged), "");
  menu("undo");
  EXPECT_SAME(before, State::now());
  menu("redo");
  EXPECT_SAME(dragged, State::now());
}

TEST_F(UndoHistory, ANewStepEndsTheRedoAndTheOldestStepsGo) {
  open_spectrum();
  type(EDIT(12), "285");
  type(EDIT(12), "286");
  menu("undo");
  EXPECT_EQ(rt::get_text(EDIT(12)), "285");
  type(EDIT(13), "289");  // a new step: "286" cannot come back
  menu("redo");
  EXPECT_EQ(rt::get_text(EDIT(12)), "285");
  EXPECT_EQ(app::redo_steps(), 0u);

  for (int i = 0; i < 150; ++i) type(EDIT(43), std::to_string(i));
  EXPECT_EQ(app::undo_steps(), app::kUndoSteps);
  for (std::size_t i = 0; i < app::kUndoSteps; ++i) menu("undo");
  EXPECT_EQ(rt::get_text(EDIT(43)), "49");  // the 50 oldest steps were dropped
}

}  // namespace
