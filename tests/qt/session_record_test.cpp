#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <QCheckBox>
#include <QClipboard>
#include <QFileDialog>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QTest>

#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "desktop_program_fixture.h"
#include "platform/actions/session_recorder.h"
#include "platform/headless/headless_platform.h"
#include "platform/headless/script_driver.h"
#include "runtime/forms/events.h"
#include "runtime/picture/picture.h"
#include "runtime/picture/picture_ops.h"

namespace {

using testing_support::answer_next_dialog;
namespace fs = std::filesystem;

std::string file_bytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream all;
  all << in.rdbuf();
  return all.str();
}

std::vector<std::string> file_lines(const fs::path& path) {
  std::ifstream in(path);
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

// Everything the program shows: each window's state, each control's text or check state, each
// picture's pixels.
struct ProgramState {
  std::map<std::string, std::string> values;
  std::map<std::string, rt::Raster> pictures;

  static ProgramState now() {
    ProgramState s;
    for (rt::Form* form : rt::live_forms()) {
      s.values[form->name()] = form->shown() ? "shown" : "hidden";
      for (const auto& c : form->controls()) {
        const std::string name = form->name() + "." + c->name();
        if (c->kind() == rt::ElementKind::Picture)
          s.pictures.emplace(name, c->picture()->raster());
        else if (c->kind() == rt::ElementKind::CheckBox)
          s.values[name] = std::to_string(c->check_state()) + " " + c->text();
        else
          s.values[name] = c->text();
      }
    }
    return s;
  }
};

class SessionRecordTest : public testing_support::DesktopProgramTest {
 protected:
  void SetUp() override {
    DesktopProgramTest::SetUp();
    dir = fs::temp_directory_path() / ("tessaly_session_" + std::to_string(::getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir);
    fs::copy_file(fs::path(TESSALY_SOURCE_DIR) / "examples" / "two_peaks.bgd",
                  dir / "two_peaks.bgd");
    record_path = dir / "session.script";
    fd = ::open(record_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    ASSERT_GE(fd, 0);
    recorder = std::make_unique<actions::SessionRecorder>(fd);
    desktop::set_session_recorder(recorder.get());
  }
  void TearDown() override {
    desktop::set_session_recorder(nullptr);
    recorder.reset();
    if (fd >= 0) ::close(fd);
    fs::remove_all(dir);
    DesktopProgramTest::TearDown();
  }

  // The user's hands.
  void choose_file_in_next_dialog(const fs::path& path) {
    answer_next_dialog<QFileDialog>([path](QFileDialog* d) {
      d->findChild<QLineEdit*>("fileNameEdit")->setText(QString::fromStdString(path.string()));
      static_cast<QDialog*>(d)->accept();  // as the Open button does
    });
  }
  void open_spectrum() {
    choose_file_in_next_dialog(dir / "two_peaks.bgd");
    menu_command("File", "Open")->trigger();
    let_the_loop_run();
  }
  void type(const char* form, const char* edit, const char* text) {
    auto* line = widget<QLineEdit>(form, edit);
    line->selectAll();
    QTest::keyClicks(line, text);
  }
  void press(const char* form, const char* button) {
    widget<QPushButton>(form, button)->click();
    let_the_loop_run();
  }
  // Mouse events on the graph at picture pixels (the widget adds its one-pixel border).
  void mouse(QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons held) {
    QWidget* picture = desktop::widget_of(control("MAINFORM", "PICTURE1"));
    const QPointF local(at.x() + 1, at.y() + 1);
    QMouseEvent event(type, local, picture->mapToGlobal(local), button, held, Qt::NoModifier);
    QCoreApplication::sendEvent(picture, &event);
    let_the_loop_run();
  }
  void drag(QPoint from, QPoint to) {
    mouse(QEvent::MouseMove, from - QPoint(5, 5), Qt::NoButton,
          Qt::NoButton);  // hovering: not recorded
    mouse(QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::LeftButton);
    mouse(QEvent::MouseMove, (from + to) / 2, Qt::NoButton, Qt::LeftButton);
    mouse(QEvent::MouseMove, to, Qt::NoButton, Qt::LeftButton);
    mouse(QEvent::MouseButtonRelease, to, Qt::LeftButton, Qt::NoButton);
  }
  // The topmost pixel of the peak colour inside the plot area.
  static QPoint top_of_peak(rt::Colour colour) {
    const rt::ObjRef graph = control("MAINFORM", "PICTURE1").ref();
    for (int y = 50; y < 610; ++y)
      for (int x = 100; x < 650; ++x)
        if (rt::picture_pixel(graph, x, y) == colour) return {x, y};
    return {-1, -1};
  }

  fs::path dir;
  fs::path record_path;
  int fd = -1;
  std::unique_ptr<actions::SessionRecorder> recorder;
};

TEST_F(SessionRecordTest, AWidgetSessionIsWrittenAsTheLinesOfAScript) {
  open_spectrum();
  type("FORM2", "EDIT9", "285.5");
  press("FORM2", "BUTTON5");  // Make
  type("FORM3", "EDIT5", "2");
  widget<QLineEdit>("FORM3", "EDIT5")->clearFocus();
  QFocusEvent left(QEvent::FocusOut);
  QCoreApplication::sendEvent(widget<QLineEdit>("FORM3", "EDIT5"), &left);  // the field is left
  widget<QCheckBox>("FORM2", "CHECK18")->click();                           // a lock: no procedure
  drag({300, 100}, {320, 120});
  answer_next_dialog<QFileDialog>([](QFileDialog* d) { d->reject(); });
  press("FORM2", "BUTTON24");  // export as IMAGE, cancelled
  window("MAINFORM")->close();
  recorder->finish();

  const std::string spectrum = (dir / "two_peaks.bgd").string();
  EXPECT_EQ(file_lines(record_path), (std::vector<std::string>{
                                         "answer file " + spectrum,
                                         "menu openfile",
                                         "set FORM2.EDIT9 285.5",
                                         "click FORM2.BUTTON5",
                                         "set FORM3.EDIT5 2",
                                         "click FORM2.CHECK18",
                                         "mouse down 300 100",
                                         "mouse move 310 110",
                                         "mouse move 320 120",
                                         "mouse up 320 120",
                                         "answer cancel",
                                         "click FORM2.BUTTON24",
                                         "close MAINFORM",
                                     }));
}

TEST_F(SessionRecordTest, ARecordedSessionReplaysHeadlessToTheSameFieldsFilesAndPixels) {
  open_spectrum();
  type("FORM2", "EDIT9", "285.5");
  press("FORM2", "BUTTON5");
  type("FORM2", "EDIT9", "289");
  press("FORM2", "BUTTON6");
  const QPoint top = top_of_peak(0xFF0000);  // peak 1, blue
  ASSERT_GE(top.x(), 0);
  drag(top, top + QPoint(6, 20));
  press("FORM2", "BUTTON1");                    // FITTING
  choose_file_in_next_dialog(dir / "results");  // saved with the filter's extension
  press("FORM2", "BUTTON28");
  choose_file_in_next_dialog(dir / "graph.bmp");
  press("FORM2", "BUTTON24");
  const ProgramState desktop_state = ProgramState::now();
  const std::string desktop_clipboard = QGuiApplication::clipboard()->text().toStdString();
  window("MAINFORM")->close();
  let_the_loop_run();
  recorder->finish();
  ASSERT_EQ(rt::reported_error_count(), 0);

  const std::string results = file_bytes(dir / "results.csv");
  const std::string graph = file_bytes(dir / "graph.bmp");
  ASSERT_FALSE(results.empty());
  ASSERT_FALSE(graph.empty());
  fs::remove(dir / "results.csv");
  fs::remove(dir / "graph.bmp");

  // Replay the record on the headless platform, from the start.
  desktop::set_session_recorder(nullptr);
  end_desktop();
  std::ostringstream out, err;
  headless::HeadlessPlatform headless_platform(err);
  app::Session replay(&headless_platform, &text_renderer);
  replay.start();
  rt::run_pending_events();
  std::ifstream script(record_path);
  headless::ScriptDriver driver(headless_platform, out, err);
  EXPECT_EQ(driver.run(script), headless::kRanClean) << err.str();

  const ProgramState replayed = ProgramState::now();
  EXPECT_EQ(replayed.values, desktop_state.values);
  ASSERT_EQ(replayed.pictures.size(), desktop_state.pictures.size());
  for (const auto& [name, raster] : desktop_state.pictures) {
    SCOPED_TRACE(name);
    EXPECT_TRUE(replayed.pictures.at(name) == raster);
  }
  EXPECT_EQ(headless_platform.clipboard(), desktop_clipboard);
  EXPECT_EQ(file_bytes(dir / "results.csv"), results);
  EXPECT_EQ(file_bytes(dir / "graph.bmp"), graph);
}

}  // namespace
