#include "platform/qt/desktop.h"

#include <QApplication>
#include <QEvent>

#include <clocale>

#include "app/shell/session.h"
#include "platform/qt/qt_platform.h"
#include "platform/text/qt_text_renderer.h"
#include "runtime/forms/events.h"

int run_desktop(int argc, char** argv) {
  QApplication application(argc, argv);
  // Qt adopts the user's locale for the C library; the run-time's number texts must not.
  std::setlocale(LC_NUMERIC, "C");
  // The program ends when the run-time says so (the main window closed), not with its last window.
  application.setQuitOnLastWindowClosed(false);

  int status = 0;
  {
    desktop::QtPlatform platform;
    platform_text::QtTextRenderer text_renderer;
    {
      app::Session session(&platform, &text_renderer);
      session.start();
      if (!rt::quit_requested()) {
        platform.schedule_dispatch();  // the events the start-up queued
        status = application.exec();
      }
    }  // the session takes the windows down while the platform is still installed
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }
  return status;
}
