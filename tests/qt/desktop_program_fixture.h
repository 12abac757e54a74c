#pragma once
// The whole program started on the desktop platform (offscreen), and small helpers to drive
// its widgets as a user would.

#include <gtest/gtest.h>

#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QTimer>

#include <memory>
#include <optional>
#include <string>

#include "app/shell/session.h"
#include "platform/qt/qt_platform.h"
#include "platform/qt/qt_widgets.h"
#include "platform/qt/user_actions.h"
#include "platform/text/qt_text_renderer.h"
#include "runtime/picture/text_renderer.h"

namespace testing_support {

// Answers the modal dialog that opens next, from inside its own event loop: it looks every few
// milliseconds, since the dialog opens only when the queued event's procedure runs.
template <class Dialog, class Answer>
void answer_next_dialog(Answer answer, int looks_left = 500) {
  QTimer::singleShot(looks_left == 500 ? 0 : 10, [answer, looks_left] {
    auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget());
    if (!dialog && looks_left > 0) return answer_next_dialog<Dialog>(answer, looks_left - 1);
    ASSERT_NE(dialog, nullptr);
    answer(dialog);
  });
}

class DesktopProgramTest : public ::testing::Test {
 protected:
  void SetUp() override {
    platform = std::make_unique<desktop::QtPlatform>();
    session.emplace(platform.get(), &text_renderer);
    session->start();
    let_the_loop_run();
  }
  void TearDown() override {
    desktop::set_session_recorder(nullptr);
    end_desktop();
  }
  // Ends the session and takes the desktop down.
  void end_desktop() {
    session.reset();
    platform.reset();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }

  static void let_the_loop_run() { QCoreApplication::processEvents(); }

  static rt::Control& control(const char* form, const char* name) {
    return *rt::find_live_form(form)->control(name);
  }
  template <class W>
  static W* widget(const char* form, const char* name) {
    return dynamic_cast<W*>(desktop::widget_of(control(form, name)));
  }
  static desktop::FormWindow* window(const char* form) {
    return desktop::window_of(*rt::find_live_form(form));
  }

  // The menu command of the main window with that caption path ("File", "Open").
  static QAction* menu_command(const QString& entry, const QString& item = {}) {
    for (QAction* a : window("MAINFORM")->menu_bar()->actions()) {
      if (a->text() != entry) continue;
      if (item.isEmpty()) return a;
      for (QAction* i : a->menu()->actions())
        if (i->text() == item) return i;
    }
    return nullptr;
  }

  std::unique_ptr<desktop::QtPlatform> platform;
  platform_text::QtTextRenderer text_renderer;
  std::optional<app::Session> session;
};

}  // namespace testing_support
