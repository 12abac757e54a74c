#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "../support/program_fixture.h"
#include "platform/qt/qt_platform.h"
#include "platform/qt/qt_widgets.h"
#include "qstring_printer.h"
#include "runtime/forms/control_values.h"
#include "runtime/forms/events.h"
#include "runtime/picture/picture_ops.h"

namespace {

using rt::ElementKind;
using rt::EventKind;

rt::ElementDef element(ElementKind kind, const char* name, const char* caption, rt::Rect rect) {
  rt::ElementDef e;
  e.kind = kind;
  e.name = name;
  e.caption = caption;
  e.rect = rect;
  e.font = rt::FontDef{"ＭＳ Ｐゴシック", 11};
  return e;
}

rt::FormDef window_def(const char* name, rt::FrameStyle frame, const char* menu) {
  rt::FormDef d;
  d.window = element(ElementKind::Window, name, name, {100, 80, 400, 300});
  d.window.frame = frame;
  d.window.menu = menu;
  d.window.font = rt::FontDef{"FixedSys", 18};
  return d;
}

const rt::FormDef& main_def() {
  static const rt::FormDef def = [] {
    rt::FormDef d = window_def("TESTFORM", {true, true, true, true}, "TESTMENU");
    d.controls.push_back(element(ElementKind::Button, "BUTTON1", "Go", {10, 20, 80, 24}));
    d.controls.push_back(element(ElementKind::CheckBox, "CHECK1", "Lock", {10, 50, 80, 16}));
    d.controls.push_back(element(ElementKind::CheckBox, "CHECK2", "", {100, 50, 16, 16}));
    d.controls.push_back(element(ElementKind::Edit, "EDIT1", "3", {10, 80, 120, 24}));
    d.controls.back().edit_limit = 5;
    d.controls.push_back(element(ElementKind::Label, "TEXT1", "Skip", {10, 110, 40, 16}));
    d.controls.push_back(element(ElementKind::Picture, "PICTURE1", "", {150, 10, 40, 30}));
    return d;
  }();
  return def;
}

const rt::FormDef& tool_def() {
  static const rt::FormDef def = window_def("TOOLFORM", {false, false, false, true}, "");
  return def;
}

const rt::FormDef& about_def() {
  static const rt::FormDef def = window_def("ABOUTFORM", {true, true, true, true}, "");
  return def;
}

const rt::MenuDef& menu_def() {
  static const rt::MenuDef def{
      "TESTMENU",
      {{"file", "File", 0, {{"openfile", "Open", 256, {}}}},
       {"saveitem", "Save", 1, {{"saveasgraphics", "Save results as graphics ", 257, {}}}},
       {"about", "About", 259, {}}}};
  return def;
}

class QtPlatformTest : public ::testing::Test {
 protected:
  void SetUp() override {
    platform = std::make_unique<desktop::QtPlatform>();
    testing_support::reset_everything(platform.get());
    rt::install_form_definitions({&main_def(), &tool_def(), &about_def()}, {&menu_def()});
    form = rt::create_form("TESTFORM", true);
    rt::run_pending_events();
  }
  void TearDown() override {
    testing_support::reset_everything();
    platform.reset();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }

  rt::Control& control(const char* name) { return rt::control_of(rt::find_control(form, name)); }
  template <class W>
  W* widget(const char* name) {
    return dynamic_cast<W*>(desktop::widget_of(control(name)));
  }
  desktop::FormWindow* window(rt::ObjRef ref) { return desktop::window_of(rt::form_of(ref)); }

  // Records the events whose procedures ran, with the pointer data they saw.
  void record(const std::string& event_name) {
    rt::publish_procedure(event_name, [this, event_name] {
      ran.push_back(event_name);
      mice.push_back(rt::event_mouse());
    });
  }
  // Lets the Qt loop do what it does between user actions: here, run the queued events.
  static void let_the_loop_run() { QCoreApplication::processEvents(); }

  std::unique_ptr<desktop::QtPlatform> platform;
  rt::ObjRef form;
  std::vector<std::string> ran;
  std::vector<rt::MouseData> mice;
};

TEST_F(QtPlatformTest, EveryControlSitsAtItsClientRect) {
  desktop::FormWindow* w = window(form);
  ASSERT_NE(w, nullptr);
  EXPECT_TRUE(w->isVisible());
  EXPECT_EQ(w->windowTitle(), "TESTFORM");
  ASSERT_NE(w->menu_bar(), nullptr);
  // The menu bar sits above the client area, so the controls keep their coordinates.
  EXPECT_EQ(w->client()->y(), w->menu_bar()->height());
  EXPECT_EQ(w->client()->size(), QSize(392, 254));
  for (const rt::ElementDef& def : main_def().controls) {
    SCOPED_TRACE(def.name);
    QWidget* shown = desktop::widget_of(control(def.name.c_str()));
    ASSERT_NE(shown, nullptr);
    EXPECT_EQ(shown->parentWidget(), w->client());
    EXPECT_EQ(shown->geometry(),
              QRect(def.rect.left, def.rect.top, def.rect.width, def.rect.height));
  }
  EXPECT_EQ(widget<QPushButton>("BUTTON1")->text(), "Go");
  EXPECT_EQ(widget<QCheckBox>("CHECK1")->text(), "Lock");
  EXPECT_EQ(widget<QCheckBox>("CHECK2")->text(), "");
  EXPECT_EQ(widget<QLineEdit>("EDIT1")->text(), "3");
  EXPECT_EQ(widget<QLineEdit>("EDIT1")->maxLength(), 5);
  EXPECT_EQ(widget<QLabel>("TEXT1")->text(), "Skip");
  EXPECT_EQ(widget<QLineEdit>("EDIT1")->font().family(), "IPAPGothic");
}

TEST_F(QtPlatformTest, AButtonClickQueuesItsEventAndTheLoopRunsIt) {
  record("BUTTON1_ON");
  widget<QPushButton>("BUTTON1")->click();
  EXPECT_EQ(rt::queued_event_count(), 1u);
  EXPECT_TRUE(ran.empty());  // never from inside the click itself
  let_the_loop_run();
  EXPECT_EQ(ran, std::vector<std::string>{"BUTTON1_ON"});
  EXPECT_EQ(rt::queued_event_count(), 0u);
}

TEST_F(QtPlatformTest, CheckBoxClicksToggleTheProgramsWay) {
  record("CHECK1_ON");
  const rt::ObjRef check = rt::find_control(form, "CHECK1");
  auto* box = widget<QCheckBox>("CHECK1");
  rt::set_check(check, 2);
  EXPECT_EQ(box->checkState(), Qt::PartiallyChecked);
  EXPECT_EQ(rt::queued_event_count(), 0u);  // the program's change raises no event

  struct Step {
    int state;
    Qt::CheckState shown;
  };
  for (const Step& after : {Step{1, Qt::Checked}, Step{0, Qt::Unchecked}, Step{1, Qt::Checked}}) {
    box->click();
    EXPECT_EQ(rt::get_check(check), after.state);
    EXPECT_EQ(box->checkState(), after.shown);
  }
  let_the_loop_run();
  EXPECT_EQ(ran.size(), 3u);
}

TEST_F(QtPlatformTest, TypingGoesIntoTheRunTimeAndProgramTextsShowWithoutEcho) {
  record("EDIT1_CHANGE");
  const rt::ObjRef edit = rt::find_control(form, "EDIT1");
  auto* line = widget<QLineEdit>("EDIT1");
  rt::set_text(edit, "12.5");
  EXPECT_EQ(line->text(), "12.5");
  EXPECT_EQ(rt::queued_event_count(), 0u);

  line->clear();
  QTest::keyClicks(line, "abcdefg");
  EXPECT_EQ(rt::get_text(edit), "abcde");  // the edit limit
  EXPECT_EQ(line->text(), "abcde");
  let_the_loop_run();
  EXPECT_EQ(ran.size(), 5u);
}

TEST_F(QtPlatformTest, MouseOverThePictureReportsPicturePixels) {
  for (const char* name : {"PICTURE1_MOUSEDOWN", "PICTURE1_MOUSEMOVE", "PICTURE1_MOUSEUP"})
    record(name);
  QWidget* picture = desktop::widget_of(control("PICTURE1"));
  EXPECT_TRUE(picture->hasMouseTracking());
  struct Action {
    QEvent::Type type;
    QPoint at;  // in the widget, border included
    Qt::MouseButton button;
    Qt::MouseButtons held;
  };
  const Action actions[] = {
      {QEvent::MouseButtonPress, {11, 6}, Qt::LeftButton, Qt::LeftButton},
      {QEvent::MouseMove, {21, 7}, Qt::NoButton, Qt::LeftButton},
      {QEvent::MouseButtonRelease, {31, 8}, Qt::LeftButton, Qt::NoButton},
  };
  for (const Action& a : actions) {
    QMouseEvent event(a.type, QPointF(a.at), picture->mapToGlobal(QPointF(a.at)), a.button, a.held,
                      Qt::NoModifier);
    QCoreApplication::sendEvent(picture, &event);
  }
  let_the_loop_run();
  ASSERT_EQ(ran, (std::vector<std::string>{"PICTURE1_MOUSEDOWN", "PICTURE1_MOUSEMOVE",
                                           "PICTURE1_MOUSEUP"}));
  // Picture pixels start inside the one-pixel border.
  for (std::size_t i = 0; i < 3; ++i) {
    EXPECT_EQ(mice[i].x, actions[i].at.x() - 1);
    EXPECT_EQ(mice[i].y, actions[i].at.y() - 1);
  }
  EXPECT_EQ(mice[0].buttons, 1);  // left button held
  EXPECT_EQ(mice[2].buttons, 0);
}

TEST_F(QtPlatformTest, ThePicturePaintsItsDrawingInsideTheBorder) {
  const rt::ObjRef picture = rt::find_control(form, "PICTURE1");
  rt::picture_set_colour(picture, 0xFF0080);  // violet: red 128, blue 255
  rt::LineCommand line;
  line.first = rt::PointF{0, 0};
  line.second = rt::PointF{5, 0};
  rt::picture_line(picture, line);
  const QImage shown = desktop::widget_of(control("PICTURE1"))->grab().toImage();
  EXPECT_EQ(shown.pixel(0, 0), qRgb(0, 0, 0));      // border
  EXPECT_EQ(shown.pixel(1, 1), qRgb(128, 0, 255));  // drawing pixel (0, 0)
  EXPECT_EQ(shown.pixel(5, 1), qRgb(128, 0, 255));
  EXPECT_EQ(shown.pixel(1, 2), qRgb(255, 255, 255));  // untouched drawing is white
}

TEST_F(QtPlatformTest, MenuCommandsRaiseTheirItemsEvents) {
  for (const char* name : {"OPENFILE_ON", "SAVEASGRAPHICS_ON", "ABOUT_ON"}) record(name);
  QMenuBar* bar = window(form)->menu_bar();
  const QList<QAction*> entries = bar->actions();
  ASSERT_EQ(entries.size(), 3);
  EXPECT_EQ(entries[0]->text(), "File");
  ASSERT_NE(entries[0]->menu(), nullptr);
  EXPECT_EQ(entries[2]->text(), "About");
  EXPECT_EQ(entries[2]->menu(), nullptr);  // a command on the bar itself
  QAction* save = entries[1]->menu()->actions().value(0);
  ASSERT_NE(save, nullptr);
  EXPECT_EQ(save->text(), "Save results as graphics ");  // the trailing blank stays

  entries[0]->menu()->actions().value(0)->trigger();
  save->trigger();
  entries[2]->trigger();
  let_the_loop_run();
  EXPECT_EQ(ran, (std::vector<std::string>{"OPENFILE_ON", "SAVEASGRAPHICS_ON", "ABOUT_ON"}));
}

TEST_F(QtPlatformTest, WindowsShowAndCloseAsTheRunTimeDecides) {
  const rt::ObjRef tool = rt::create_form("TOOLFORM", true);
  const rt::ObjRef about = rt::create_form("ABOUTFORM", false);
  EXPECT_FALSE(window(about)->isVisible());
  rt::show_form(about, -1);
  EXPECT_TRUE(window(about)->isVisible());

  window(tool)->close();  // no close button: nothing happens
  EXPECT_TRUE(rt::form_exists(tool));
  EXPECT_TRUE(window(tool)->isVisible());

  QPointer<QWidget> about_window = window(about);
  about_window->close();  // destroyed; a new About would be created afresh
  EXPECT_FALSE(rt::form_exists(about));
  EXPECT_FALSE(about_window && about_window->isVisible());

  window(form)->close();  // the main window ends the program
  EXPECT_TRUE(rt::quit_requested());
  EXPECT_TRUE(rt::form_exists(form));
}

// Answers the modal dialog that opens next, from inside its own event loop.
template <class Dialog, class Answer>
void answer_next_dialog(Answer answer) {
  QTimer::singleShot(0, [answer] {
    auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget());
    ASSERT_NE(dialog, nullptr);
    answer(dialog);
  });
}

TEST_F(QtPlatformTest, FileDialogOpensInTheFolderWithTheNameAndTheFirstFilter) {
  const std::filesystem::path folder = std::filesystem::temp_directory_path() / "tessaly_qt_dialog";
  std::filesystem::create_directories(folder);
  std::ofstream(folder / "peaks.cfg") << "x";
  const std::string cwd = std::filesystem::current_path().string();

  rt::FileDialogRequest request;
  request.title = "Load";
  request.folder = folder.string();
  request.initial_name = "*.cfg";
  request.filters = {{"Config file(*.cfg)", {"*.cfg"}}, {"そのほか(*.*)", {"*.*"}}};

  QString name_box, selected_filter, directory;
  answer_next_dialog<QFileDialog>([&](QFileDialog* d) {
    name_box = d->findChild<QLineEdit*>("fileNameEdit")->text();
    selected_filter = d->selectedNameFilter();
    directory = d->directory().absolutePath();
    d->reject();
  });
  EXPECT_EQ(platform->file_dialog(request), std::nullopt);  // cancelled
  EXPECT_EQ(name_box, "*.cfg");
  EXPECT_EQ(selected_filter, "Config file(*.cfg)");  // shown as described
  EXPECT_EQ(directory, QString::fromStdString(folder.string()));

  answer_next_dialog<QFileDialog>([&](QFileDialog* d) {
    d->selectFile(QString::fromStdString((folder / "peaks.cfg").string()));
    static_cast<QDialog*>(d)->accept();  // as the Open button does
  });
  EXPECT_EQ(platform->file_dialog(request), (folder / "peaks.cfg").string());
  EXPECT_EQ(std::filesystem::current_path().string(), cwd);
  std::filesystem::remove_all(folder);
}

TEST_F(QtPlatformTest, MessageBoxReturnsTheProgramsNumberOfTheButtonPressed) {
  struct Case {
    int buttons;
    QMessageBox::StandardButton press;
    int result;
  };
  for (const Case& c :
       {Case{4, QMessageBox::No, rt::kNo}, Case{2, QMessageBox::Retry, rt::kRetry}}) {
    QString pressed_text;
    answer_next_dialog<QMessageBox>([&](QMessageBox* box) {
      pressed_text = box->button(c.press)->text();
      box->button(c.press)->click();
    });
    EXPECT_EQ(
        platform->message_box(rt::MessageBoxRequest{
            rt::kNullRef, "Collect", "?", rt::MessageBoxButtons{c.buttons}, rt::kIconQuestion}),
        c.result);
    // An English question gets English buttons, not the Japanese of Qt's translation.
    EXPECT_EQ(pressed_text, c.press == QMessageBox::No ? "No" : "Retry");
  }
}

TEST_F(QtPlatformTest, TheErrorReportsHelpButtonOpensTheManualAndLeavesTheReportOpen) {
  bool open_after_help = false;
  bool manual_shown = false;
  QString text;
  answer_next_dialog<QMessageBox>([&](QMessageBox* report) {
    text = report->text();
    QAbstractButton* help = nullptr;
    for (QAbstractButton* b : report->buttons())
      if (report->buttonRole(b) == QMessageBox::HelpRole) help = b;
    ASSERT_NE(help, nullptr);
    help->click();
    open_after_help = report->isVisible();
    for (QWidget* w : QApplication::topLevelWidgets())
      if (w->windowTitle() == QStringLiteral("Tessaly manual") && w->isVisible()) {
        manual_shown = true;
        w->close();
      }
    report->button(QMessageBox::Ok)->click();
  });
  platform->show_error_report("tessaly.EXE", "\r\nMAIN [3行]:エラー[11]");
  EXPECT_TRUE(open_after_help);
  EXPECT_TRUE(manual_shown);
  EXPECT_EQ(text, QString::fromUtf8("\nMAIN [3行]:エラー[11]"));
}

}  // namespace
