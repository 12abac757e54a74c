#include <gtest/gtest.h>

#include <QAction>
#include <QComboBox>
#include <QFileDialog>
#include <QGuiApplication>
#include <QKeySequence>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>

#include <unistd.h>

#include <filesystem>
#include <optional>

#include "desktop_program_fixture.h"
#include "platform/qt/japanese_translation.h"
#include "platform/qt/qt_mapping.h"
#include "qstring_printer.h"
#include "runtime/forms/events.h"
#include "runtime/forms/objects.h"

namespace {

using testing_support::answer_next_dialog;

class DesktopWindowsTest : public testing_support::DesktopProgramTest {};

TEST_F(DesktopWindowsTest, TheToolWindowsAreOwnedAndTheirCloseButtonHidesThem) {
  desktop::FormWindow* main = window("MAINFORM");
  menu_command("File", "Open raw spectrum...")->trigger();
  menu_command("Fit", "Show fit report")->trigger();
  let_the_loop_run();
  for (const char* name : {"FORM2", "FORM3", "FORM5", "FORM6"}) {
    SCOPED_TRACE(name);
    desktop::FormWindow* w = window(name);
    EXPECT_TRUE(w->isVisible());
    // Owned by the main window: the window manager keeps them above it and minimises them with it.
    EXPECT_EQ(w->parentWidget(), main);
    EXPECT_EQ(w->windowType(), Qt::Tool);
    EXPECT_TRUE(w->windowFlags() & Qt::WindowCloseButtonHint);
    EXPECT_FALSE(w->windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));
    // The close button hides the window; the Window menu brings it back.
    w->close();
    let_the_loop_run();
    EXPECT_FALSE(w->isVisible());
    EXPECT_FALSE(w->form()->shown());
  }
  for (const char* item : {"Peak setting", "Graph setting", "Raw spectrum", "Fit report"})
    menu_command("Window", item)->trigger();
  let_the_loop_run();
  for (const char* name : {"FORM2", "FORM3", "FORM5", "FORM6"})
    EXPECT_TRUE(window(name)->isVisible()) << name;
  // The shortcuts stand on the menu items, for every window of the program.
  EXPECT_EQ(menu_command("Edit", "Undo")->shortcut(), QKeySequence(QStringLiteral("Ctrl+Z")));
  EXPECT_EQ(menu_command("Window", "Peak setting")->shortcut(), QKeySequence(Qt::Key_F2));
  EXPECT_EQ(menu_command("File", "Exit")->shortcutContext(), Qt::ApplicationShortcut);
  EXPECT_EQ(main->parentWidget(), nullptr);
  EXPECT_EQ(main->windowType(), Qt::Window);

  // The About window stays a window of its own, with its close button.
  menu_command("About")->trigger();
  let_the_loop_run();
  desktop::FormWindow* about = window("FORM4");
  EXPECT_TRUE(about->isVisible());
  EXPECT_EQ(about->parentWidget(), nullptr);
  EXPECT_EQ(about->windowType(), Qt::Window);
  EXPECT_TRUE(about->windowFlags() & Qt::WindowCloseButtonHint);
}

// "Fit view" has a close button and still belongs to the main window, so that a click on the
// graph cannot bury it; closed, it opens again from the menu.
TEST_F(DesktopWindowsTest, TheFitViewIsAToolWindowThatTheMenusBringBack) {
  menu_command("Fit", "Fit view")->trigger();
  let_the_loop_run();
  desktop::FormWindow* view = window("FORM8");
  EXPECT_TRUE(view->isVisible());
  EXPECT_EQ(view->parentWidget(), window("MAINFORM"));
  EXPECT_EQ(view->windowType(), Qt::Tool);
  EXPECT_TRUE(view->windowFlags() & Qt::WindowCloseButtonHint);
  // Its close button hides it, like the other tool windows; both menus bring it back.
  view->close();
  let_the_loop_run();
  EXPECT_FALSE(view->isVisible());
  for (const auto& [menu, item] : {std::pair{"Fit", "Fit view"}, std::pair{"Window", "Fit view"}}) {
    menu_command(menu, item)->trigger();
    let_the_loop_run();
    EXPECT_TRUE(window("FORM8")->isVisible()) << menu;
    EXPECT_EQ(window("FORM8")->parentWidget(), window("MAINFORM"));
    window("FORM8")->close();
    let_the_loop_run();
  }
}

TEST_F(DesktopWindowsTest, OnASmallScreenEveryWindowIsMovedOntoIt) {
  // The offscreen screen (800 x 600) is smaller than the places the forms were laid out for.
  const QRect available = QGuiApplication::primaryScreen()->availableGeometry();
  ASSERT_LT(available.width(), 1013 + 809);
  for (const char* name : {"MAINFORM", "FORM2", "FORM3"}) {
    SCOPED_TRACE(name);
    const rt::Rect& def = rt::find_form_definition(name)->window.rect;
    const QRect outer(window(name)->pos(), QSize(def.width, def.height));
    QPoint place =
        desktop::on_screen_place(QRect(def.left, def.top, def.width, def.height), available);
    // The graph goes to the left edge, where the peak table covers the least of it.
    if (std::string(name) == "MAINFORM") place.setX(available.x());
    const QRect expected(place, outer.size());
    EXPECT_EQ(outer, expected);
    EXPECT_TRUE(available.contains(outer.topLeft()));
  }
  EXPECT_NE(window("FORM2")->pos(), QPoint(1013, 481));
}

class SaveDialogTest : public DesktopWindowsTest {
 protected:
  void SetUp() override {
    DesktopWindowsTest::SetUp();
    // Per process: ctest runs this fixture's tests side by side, and TearDown removes the folder.
    folder = std::filesystem::temp_directory_path() /
             ("tessaly_qt_save_dialog-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    request.save = true;
    request.title = "Save";
    request.folder = folder.string();
    request.initial_name = "*.bmp";
    request.filters = {{"BMP file(*.bmp)", {"*.bmp"}}, {"そのほか(*.*)", {"*.*"}}};
  }
  void TearDown() override {
    std::filesystem::remove_all(folder);
    DesktopWindowsTest::TearDown();
  }
  // Types the name into the dialog's name box, with the filter chosen, and presses Save.
  std::optional<std::string> save_as(const QString& typed, int filter = 0) {
    answer_next_dialog<QFileDialog>([typed, filter](QFileDialog* d) {
      // As the user's choice in the filter box.
      auto* combo = d->findChild<QComboBox*>("fileTypeCombo");
      combo->setCurrentIndex(filter);
      emit combo->activated(filter);
      emit combo->textActivated(combo->itemText(filter));
      d->findChild<QLineEdit*>("fileNameEdit")->setText(typed);
      static_cast<QDialog*>(d)->accept();  // as the Save button does
    });
    return platform->file_dialog(request);
  }

  std::filesystem::path folder;
  rt::FileDialogRequest request;
};

TEST_F(SaveDialogTest, ANameWithoutExtensionGetsTheChosenFiltersOne) {
  EXPECT_EQ(save_as("graph2"), (folder / "graph2.bmp").string());
  EXPECT_EQ(save_as("graph2.png"),
            (folder / "graph2.png").string());                    // an extension of its own stays
  EXPECT_EQ(save_as("graph3", 1), (folder / "graph3").string());  // "*.*" adds none
}

TEST_F(SaveDialogTest, AFolderThatDoesNotExistIsRefusedAndTheDialogStaysOpen) {
  bool open_after_refusal = false;
  QString warning;
  answer_next_dialog<QFileDialog>([&](QFileDialog* d) {
    d->findChild<QLineEdit*>("fileNameEdit")
        ->setText(QString::fromStdString((folder / "missing" / "graph2").string()));
    answer_next_dialog<QMessageBox>([&](QMessageBox* box) {
      warning = box->text();
      box->accept();
    });
    static_cast<QDialog*>(d)->accept();
    open_after_refusal = d->isVisible();
    d->reject();
  });
  EXPECT_EQ(platform->file_dialog(request), std::nullopt);
  EXPECT_TRUE(open_after_refusal);
  EXPECT_TRUE(warning.contains(QStringLiteral("パスが存在しません")));
  EXPECT_FALSE(std::filesystem::exists(folder / "missing"));
}

TEST(JapaneseTranslation, StandardButtonsSpeakTheDialogsLanguage) {
  ASSERT_TRUE(desktop::install_japanese_translation(*QCoreApplication::instance()));
  QMessageBox box(QMessageBox::Question, "Collect", "?", QMessageBox::Yes | QMessageBox::No);
  EXPECT_TRUE(box.button(QMessageBox::Yes)->text().contains(QStringLiteral("はい")));
  EXPECT_TRUE(box.button(QMessageBox::No)->text().contains(QStringLiteral("いいえ")));
}

}  // namespace
